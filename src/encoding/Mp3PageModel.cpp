#include "encoding/Mp3PageModel.h"
