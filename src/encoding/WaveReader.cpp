#include "encoding/WaveReader.h"
