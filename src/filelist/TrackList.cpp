#include "filelist/TrackList.h"
