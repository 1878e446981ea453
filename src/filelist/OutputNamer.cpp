#include "filelist/OutputNamer.h"
