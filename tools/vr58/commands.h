// The vr58 subcommands; each returns the process exit code and throws CliError on bad input.
#pragma once

#include <string>
#include <vector>

namespace vr58::tool {

int runInfo(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runDemo(const std::vector<std::string>& args);
int runEditorPreview(const std::vector<std::string>& args);
int runMeasure(const std::vector<std::string>& args);
int runPreset(const std::vector<std::string>& args);
int runPresets(const std::vector<std::string>& args);
int runValidate(const std::vector<std::string>& args);

} // namespace vr58::tool
