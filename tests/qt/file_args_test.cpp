#include "qt/file_args.h"

#include <QFile>
#include <fstream>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

// What a file dialog returns for a path given as bytes.
QString AsTheDialogShowsIt(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

void Touch(const std::string& bytes)
{
    std::ofstream(std::filesystem::path(bytes)) << "x";
}

} // namespace

TEST(FileArgs, NamesChosenInADialogKeepTheirBytes)
{
    CTempFolder folder;
    const std::string base = folder.path.string();
    std::filesystem::create_directory(base + "/Map\xe9");
    Touch(base + "/Map\xe9/caf\xe9.ETT");
    Touch(base + "/twee\xe8");
    Touch(base + "/twee\xe9"); // reads the same as the one above
    // (path as bytes) -> the bytes the dialog's answer maps back to
    const struct {
        std::string path;
        std::string bytes;
    } cases[] = {
        {base + "/Map\xe9/caf\xe9.ETT", base + "/Map\xe9/caf\xe9.ETT"},
        {base + "/Map\xe9/Nieuw.ETT", base + "/Map\xe9/Nieuw.ETT"}, // a new name
        {base + "/Gew\xc3\xb3on.ETT", base + "/Gew\xc3\xb3on.ETT"}, // UTF-8 as it is
        {base + "/twee\xe8", base + "/twee\xef\xbf\xbd"}, // two candidates: none taken
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialogFileBytes(AsTheDialogShowsIt(c.path)), c.bytes) << c.path;
}
