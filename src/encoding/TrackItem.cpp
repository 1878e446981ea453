#include "encoding/TrackItem.h"
