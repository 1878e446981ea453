#include "filelist/SymbolReplacement.h"
