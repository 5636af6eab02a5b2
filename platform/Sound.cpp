// Placeholder: the sound service is being written.
#include "Sound.h"
