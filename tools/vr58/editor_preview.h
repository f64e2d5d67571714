// Composes the editor's face for given parameter values with the GUI toolkit and the embedded skin: the
// background and every control at the frame its value selects, the meters at rest.
#pragma once

#include <string>
#include <vector>

namespace vr58::tool {

// values holds the 15 parameters of the editor build by index. Writes a PNG; false when writing fails.
bool writeEditorPreview(const std::vector<float>& values, const std::string& pngPath);

} // namespace vr58::tool
