#pragma once

#include "issue/pdf_text_map.h"

namespace velmora {

// The readings (see ReadingsFromGlyphs) of the form's font.
const CodePointReadings& FormFontReadings();

}  // namespace velmora
