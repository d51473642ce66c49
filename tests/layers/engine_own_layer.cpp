// Must compile: the engine sees its own headers.
#include "engine/pdb_layout.h"
