#include "encoding/GenreTable.h"
