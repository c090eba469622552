#include "cli_reporter.h"

void CliReporter::ShowSystemMessage(const std::string& text, const std::string& detail, int kind) {
    const std::string line = detail.empty() ? text : text + "  " + detail;
    if (kind == kMessageError) {
        io_.err << "vestorin-cli: ";
        PrintLine(io_.err, line);
    } else {
        PrintLine(io_.out, line);
    }
}
