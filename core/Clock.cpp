// Placeholder: the clock texts are being written.
#include "Clock.h"
