#include "encoding/Id3v1Tag.h"
