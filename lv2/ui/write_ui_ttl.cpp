// Writes VR58G_ui.ttl, the UI's description in the editor bundle, at build time: the meter ports it asks
// the host to send are named by their indices in the port layout, so the two can never disagree.
#include "engine/build_config.h"
#include "lv2/lv2_ports.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ttl\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const uint32_t meterPorts[] = {vr58::lv2::meterLevelPort(vr58::kEditorBuild),
                                   vr58::lv2::meterPeakPort(vr58::kEditorBuild)};
    std::fprintf(out,
                 "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                 "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
                 "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                 "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n"
                 "<%s>\n"
                 "\ta ui:X11UI ;\n"
                 "\tlv2:requiredFeature ui:parent ;\n"
                 "\tlv2:optionalFeature ui:idleInterface , ui:noUserResize , ui:resize , ui:touch , urid:map "
                 ", opts:options ;\n"
                 "\topts:supportedOption ui:scaleFactor ;\n"
                 "\tlv2:extensionData ui:idleInterface",
                 vr58::lv2::kEditorUiUri);
    for (const uint32_t port : meterPorts)
        std::fprintf(out,
                     " ;\n\tui:portNotification [\n\t\tui:plugin <%s> ;\n\t\tui:portIndex %u ;\n"
                     "\t\tui:protocol ui:floatProtocol\n\t]",
                     vr58::lv2::kEditorPluginUri, port);
    std::fprintf(out, " .\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
