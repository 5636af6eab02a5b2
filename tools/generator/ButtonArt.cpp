// Placeholder until the artwork of this file is drawn.
#include "Art.h"

namespace generator {
std::vector<GeneratedImage> DrawButtonArt() { return {}; }
} // namespace generator
