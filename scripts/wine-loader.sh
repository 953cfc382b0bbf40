# Sourced by the scripts that start Wine: wine_for ARCH sets WINE to the loader that prefix
# kind runs with. A 64-bit prefix of the 64-bit build runs Wine's 64-bit loader alone, so it
# works on machines where the 32-bit one cannot run; Debian's wrappers would pick the 32-bit
# loader whenever it is installed.
wine_for() {
  case $1 in
  win64)
    WINE=/usr/lib/wine/wine64
    WINELOADER=$WINE
    export WINELOADER
    ;;
  *) WINE=wine ;;
  esac
}
