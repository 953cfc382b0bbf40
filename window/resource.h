// Resource numbers of the resource script.
#pragma once

#define IDI_KELVARIN 1
