// Must not compile: the source layer sits above the engine.
#include "source/query_run.h"
