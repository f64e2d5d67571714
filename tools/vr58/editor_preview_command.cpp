#include "arguments.h"
#include "cli_error.h"
#include "commands.h"
#include "editor/editor_layout.h"
#include "editor_preview.h"
#include "pending_output.h"
#include "plugin_session.h"

#include <iostream>

namespace vr58::tool {

int runEditorPreview(const std::vector<std::string>& args) {
    const EditorPreviewOptions options = parseEditorPreviewArguments(args);
    auto plugin = loadPlugin(options.plugin);
    // Only the editor build has the parameters the skin shows, under these names.
    for (const EditorViewLayout& view : kEditorLayout)
        if (view.parameterName && plugin->parameterName(view.tag) != view.parameterName)
            throw CliError(options.plugin, "has no editor skin (not the VR58-G editor build)");
    const std::vector<int32_t> indices = resolveSettings(*plugin, options.settings);
    for (size_t i = 0; i < options.settings.size(); ++i)
        plugin->setParameter(indices[i], options.settings[i].value);

    std::vector<float> values;
    for (int32_t index = 0; index < plugin->effect()->numParams; ++index)
        values.push_back(plugin->getParameter(index));

    PendingOutput output(options.output);
    if (!writeEditorPreview(values, output.temporaryPath()))
        throw CliError(options.output, "could not draw or write the editor picture");
    output.commit();
    std::cout << "Wrote " << options.output << "\n";
    return 0;
}

} // namespace vr58::tool
