// The program `tallowick-setup`.
#include "installer/setup_program.h"

wxIMPLEMENT_APP(tallowick::SetupProgram);
