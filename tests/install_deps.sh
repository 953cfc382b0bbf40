#!/bin/sh
# The package install where 32-bit Wine cannot be installed as asked, against stand-ins for
# apt-get and dpkg: it tries once more with the main suite preferred, names what that takes
# back to an older version, and leaves no preferences file behind; if that fails too, it warns
# and goes on.
#   install_deps.sh SRC
set -u
src=${1:?usage: install_deps.sh SRC}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAILED: $*"
  failed=1
}

# The script beside a stand-in that says 32-bit code runs here, whatever this machine is.
mkdir "$work/scripts" "$work/bin"
cp "$src/scripts/install-deps.sh" "$work/scripts/"
printf '#!/bin/sh\nexit 0\n' >"$work/scripts/runs-32bit.sh"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
# Every package is in but those listed in $work/missing; $work/versions is what dpkg lists.
cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/bin/sh
eval "package=\${$#}"
case $package in
-f=*)
  while read -r name version; do echo "install ok installed $name $version"; done <"$STATE/versions"
  ;;
*) grep -qx "$package" "$STATE/missing" && exit 1 || echo "install ok installed" ;;
esac
STANDIN
cat >"$work/bin/dpkg" <<'STANDIN'
#!/bin/sh
case $1 in
--print-foreign-architectures) echo i386 ;;
--compare-versions) exec /usr/bin/dpkg "$@" ;;
esac
STANDIN
# apt-get refuses 32-bit Wine as asked; with the main suite preferred it installs it, taking
# one library down a version and another up, unless $work/refuse says it fails then too.
cat >"$work/bin/apt-get" <<'STANDIN'
#!/bin/sh
echo "$*" >>"$STATE/calls"
[ "$1" = update ] && exit 0
prefs=$(echo "$*" | sed -n 's/.*Dir::Etc::Preferences=\([^ ]*\).*/\1/p')
if [ -n "$prefs" ]; then
  echo "$prefs" >"$STATE/prefs-path"
  cp "$prefs" "$STATE/prefs"
fi
if [ -z "$prefs" ] || [ -e "$STATE/refuse" ]; then
  echo "E: Unable to correct problems, you have held broken packages." >&2
  exit 100
fi
: >"$STATE/missing"
printf 'libdown:amd64 1.0-2\nlibsame:amd64 3.0\nlibup:amd64 2.1\nwine32:i386 8.0\n' \
  >"$STATE/versions"
STANDIN
chmod +x "$work/bin/"* "$work/scripts/"*

run() { # run: the script's output in $work/out, its exit status returned
  echo wine32:i386 >"$work/missing"
  printf 'libdown:amd64 1.0-3\nlibsame:amd64 3.0\nlibup:amd64 2.0\n' >"$work/versions"
  rm -f "$work/calls" "$work/prefs-path"
  env PATH="$work/bin:$PATH" STATE="$work" bash "$work/scripts/install-deps.sh" >"$work/out" 2>&1
}

if ! run; then
  fail "the script failed: $(cat "$work/out")"
fi
installs=$(grep -c '^install' "$work/calls")
[ "$installs" -eq 2 ] || fail "$installs installs of 32-bit Wine, not two: $(cat "$work/calls")"
if ! tail -n 1 "$work/calls" | grep -q -- '--allow-downgrades'; then
  fail "the retry allows no downgrades: $(tail -n 1 "$work/calls")"
fi
if ! grep -qx 'Pin: release n=.*' "$work/prefs" ||
  ! grep -qx 'Pin-Priority: 1001' "$work/prefs"; then
  fail "the retry's preferences do not put the main suite first: $(cat "$work/prefs")"
fi
[ ! -e "$(cat "$work/prefs-path")" ] || fail "the preferences file was left behind"
said=$(grep "versions preferred; downgraded:" "$work/out")
if [ "$said" = "${said%libdown:amd64 1.0-3 to 1.0-2.}" ] ||
  echo "$said" | grep -q 'lib\(up\|same\)'; then
  fail "the downgrades are not named as they were: $(cat "$work/out")"
fi

touch "$work/refuse"
if ! run; then
  fail "a second refusal failed the script: $(cat "$work/out")"
fi
grep -q "Warning: wine32:i386 could not be installed" "$work/out" ||
  fail "a second refusal was not told: $(cat "$work/out")"
[ ! -e "$(cat "$work/prefs-path")" ] || fail "the preferences file was left behind after a refusal"
exit $failed
