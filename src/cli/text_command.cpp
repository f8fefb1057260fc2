#include "cli/text_command.h"

#include <cmath>
#include <filesystem>
#include <string>

#include "cli/cli_commands.h"
#include "document/document.h"
#include "model/model_defaults.h"
#include "platform/ui_services.h"
#include "qt/file_args.h"
#include "qt/qt_text.h"

namespace {

constexpr const char* kUsage
    = "text PROJECT.ETT \"TEXT\" [--size S] [--angle A] [--mirror] [--at X,Y]";

// The command asks the user nothing: what it needs of a user interface is
// the reason the model gives when it refuses to place the text, which
// becomes the command's error.
class CRefusal : public CUiServices {
public:
    std::string reason; // Windows-1252

    Answer MessageBox(std::string_view text, Buttons, Icon) override
    {
        reason = text;
        return Answer::Cancel;
    }
    void SetStatusText(int, std::string_view) override { }
    void Invalidate() override { }
};

bool ParseInt(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

// "X,Y" in millimetres; a decimal comma is not possible here, so a point.
bool ParsePoint(const QString& text, double& x, double& y)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return false;
    bool okX = false, okY = false;
    x = parts[0].trimmed().toDouble(&okX);
    y = parts[1].trimmed().toDouble(&okY);
    return okX && okY && std::isfinite(x) && std::isfinite(y) && std::abs(x) < 2e6
        && std::abs(y) < 2e6;
}

} // namespace

int CmdText(const QStringList& args, const QCommandLineParser& parser)
{
    if (args.size() != 2)
        return CliUsage(kUsage);
    const std::string path = FileNameBytes(args[0]);
    const std::string text = ToCp1252(args[1]);

    int size = ModelDefaults().strokeFontSize;
    if (parser.isSet("size") && (!ParseInt(parser.value("size"), size) || size < 1 || size > 10001))
        return CliFail(QStringLiteral("--size takes a whole number from 1 to 10001."));
    int angle = 0;
    if (parser.isSet("angle") && !ParseInt(parser.value("angle"), angle))
        return CliFail(QStringLiteral("--angle takes a whole number of degrees."));
    double x = 20, y = 20;
    if (parser.isSet("at") && !ParsePoint(parser.value("at"), x, y))
        return CliFail(QStringLiteral("--at takes X,Y in millimetres, e.g. 20,35.5."));

    CDovereduDoc doc;
    FollowConfiguration(doc);
    if (std::filesystem::exists(path)) {
        if (auto error = doc.Open(path))
            return CliFail(QString::fromStdString(*error));
    }
    if (doc.sheets.empty()) {
        auto sheet = std::make_unique<CSheet>();
        sheet->AddFrame(0, 0, 400000, 270000);
        sheet->PushUndo();
        doc.sheets.push_back(std::move(sheet));
        doc.SetActiveSheet(0);
    }

    CSheet& sheet = doc.GetActiveSheet();
    if (!sheet.font.IsLoaded())
        return CliFail(QStringLiteral("The stroke font %1 could not be read.")
                           .arg(QString::fromStdString(ModelDefaults().strokeFontPath)));
    sheet.font.SetText(text);
    sheet.font.SetAngle(angle);
    sheet.font.SetMirrored(parser.isSet("mirror"));
    sheet.cursor = {sheet.origin.x + static_cast<int32_t>(std::lround(x * 1000)),
        sheet.origin.y + static_cast<int32_t>(std::lround(y * 1000))};
    if (!sheet.font.BuildText(text, sheet.cursor, size, sheet))
        return CliFail(QStringLiteral("The text does not fit on the sheet."));
    CRefusal refusal;
    if (sheet.placementCount > 0 && !sheet.CommitBuffer(refusal)) {
        return CliFail(refusal.reason.empty() ? QStringLiteral("The text could not be placed.")
                                              : FromCp1252(refusal.reason));
    }
    sheet.ClearBuffer();
    if (auto error = doc.Save(path))
        return CliFail(QString::fromStdString(*error));
    return 0;
}
