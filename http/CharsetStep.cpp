#include "http/CharsetStep.h"

namespace korvel {

// The conversion lands with the automation classes; until then every page stays as stored.
Text ApplyCharsetStep(const Text& pageText, const Bytes&) { return pageText; }

}  // namespace korvel
