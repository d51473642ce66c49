#pragma once
// The ODBC installer API (odbcinst.h), after the ODBC API it builds on.
#include <odbcinst.h>

#include "source/odbc_api.h"
