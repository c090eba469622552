// The key database commands: the same core and messages as the database window.
#include <cstdio>
#include <string>
#include <vector>

#include "Cp1251.h"
#include "address_text.h"
#include "cli_database.h"
#include "cli_reporter.h"
#include "commands.h"
#include "key_database.h"
#include "notebook_export.h"

using namespace cp1251_literals;

namespace {

int Usage(CliContext& io, const char* usage) {
    io.err << "usage: vestorin-cli " << usage << '\n';
    return kExitBadArguments;
}

std::string Hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
    return text;
}

}  // namespace

int RunInfoCommand(const CliArgs& args, CliContext& io) {
    if (args.size() != 1) return Usage(io, "info FILE");
    CliReporter report(io);
    const std::string shownPath = cp1251::FromUtf8(args[0]);
    DBF table(args[0], DbfAccess::kReadOnly);
    if (!table.open()) {
        report.ShowSystemMessage("Ошибка при загрузке базы!"_cp, shownPath, kMessageError);
        return kExitReadFailed;
    }
    PrintLine(io.out, "Версия: "_cp + Hex2(table.version()));
    PrintLine(io.out, "Записей: "_cp + std::to_string(table.record_count()));
    PrintLine(io.out, "Длина заголовка: "_cp + std::to_string(table.header_length()));
    PrintLine(io.out, "Длина записи: "_cp + std::to_string(table.record_length()));
    PrintLine(io.out, "Поля: "_cp + std::to_string(table.field_count()));
    for (int i = 1; i <= table.field_count(); ++i) {
        std::string name;
        table.field_name(i, name);
        PrintLine(io.out, "  " + name + " " + std::string(1, table.field_type(name)) + " " +
                              std::to_string(table.field_len(i - 1)) + " " + std::to_string(table.field_decimals(i - 1)));
    }
    if (!HasKeyDatabaseFields(table)) {
        report.ShowSystemMessage("Формат файла не соответствует базе!"_cp, shownPath, kMessageError);
        return kExitNotKeyDatabase;
    }
    PrintLine(io.out, "База ключей: да"_cp);
    return kExitOk;
}

int RunListCommand(const CliArgs& args, CliContext& io) {
    if (args.size() != 1) return Usage(io, "list FILE");
    CliReporter report(io);
    DatabaseModel model(report);
    if (const int status = OpenForCommand(model, args[0]); status != kExitOk) return status;
    for (const auto& row : model.Rows) io.out << cp1251::ToUtf8(AddressTextLine(row));
    return kExitOk;
}

int RunNormalizeCommand(const CliArgs& args, CliContext& io) {
    if (args.size() != 2) return Usage(io, "normalize IN OUT");
    CliReporter report(io);
    DatabaseModel model(report);
    if (const int status = OpenForCommand(model, args[0]); status != kExitOk) return status;
    return SaveKeyDatabase(model, args[1]) ? kExitOk : kExitWriteFailed;
}

namespace {

struct ExportRequest {
    std::string in, out;
    bool all = false;
    std::vector<std::string> addresses;  // CP1251
};

bool ParseExportArgs(const CliArgs& args, ExportRequest& request) {
    if (args.size() < 3) return false;
    request.in = args[0];
    request.out = args[1];
    bool afterMark = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--all") {
            request.all = true;
            afterMark = false;
        } else if (args[i] == "--mark") {
            afterMark = true;
        } else if (afterMark) {
            request.addresses.push_back(ArgToCp1251(args[i]));
        } else {
            return false;
        }
    }
    return request.all != !request.addresses.empty();
}

}  // namespace

int RunExportNbx4Command(const CliArgs& args, CliContext& io) {
    ExportRequest request;
    if (!ParseExportArgs(args, request)) return Usage(io, "export-nbx4 IN OUT (--all | --mark ADDRESS...)");
    CliReporter report(io);
    DatabaseModel model(report);
    if (const int status = OpenForCommand(model, request.in); status != kExitOk) return status;
    if (!MarkAddresses(model, request.all, request.addresses, io)) return kExitBadArguments;
    switch (ExportMarkedToNotebook(model, request.out)) {
        case NotebookExport::kWritten: return kExitOk;
        case NotebookExport::kNothingToExport: return kExitBadArguments;
        default: return kExitWriteFailed;
    }
}
