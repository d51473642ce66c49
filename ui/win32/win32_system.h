#pragma once
// The Windows headers the back end needs, in one place. prsht.h names a
// macro PropertySheet after its function; our class of that name wins here.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
// clang-format on

#ifdef PropertySheet
#undef PropertySheet
#endif
