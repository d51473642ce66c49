#pragma once
// The Windows headers the back end needs, in one place. prsht.h names a
// macro PropertySheet after its function; our class of that name wins here.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#ifdef PropertySheet
#undef PropertySheet
#endif
