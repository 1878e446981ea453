#include "encoding/PlaylistWriter.h"
