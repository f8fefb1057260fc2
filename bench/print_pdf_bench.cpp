// Printing a large drawing to PDF, the whole process as a user runs it:
// `ridizav-cli print-pdf` of the project that a DXF of 1,000,000 entities
// imports into must take at most 0.2x the time an independent CAD program
// takes to print the same DXF to PDF (`librecad dxf2pdf`), both measured in
// this run. Without that program the comparison is left out. The sizes of
// both PDF files are printed beside the times.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "dxf_drawing.h"
#include "ratio_reporter.h"

namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& p)
{
    return "'" + p.string() + "'";
}

// Runs a shell command and returns its wall time in seconds, or a negative
// number when it failed.
double Timed(const std::string& command)
{
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return status == 0 ? seconds : -1;
}

double Megabytes(const fs::path& p)
{
    std::error_code error;
    const auto size = fs::file_size(p, error);
    return error ? 0 : static_cast<double>(size) / 1e6;
}

} // namespace

int main()
{
    constexpr int kEntities = 1000000;
    const fs::path folder
        = fs::temp_directory_path() / ("ridizav-print-pdf-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path cli = fs::canonical("/proc/self/exe").parent_path() / "ridizav-cli";
    const fs::path dxf = MakeDxfDrawing(folder, kEntities);
    const fs::path project = folder / "project.ETT";
    const fs::path imported = folder / "imported.ETT";
    const fs::path ours = folder / "ours.pdf";
    const std::string quiet = " >/dev/null 2>&1";

    int result = 0;
    if (Timed(Quoted(cli) + " new " + Quoted(project) + quiet) < 0
        || Timed(Quoted(cli) + " import-dxf " + Quoted(project) + " " + Quoted(dxf) + " -o "
               + Quoted(imported) + quiet)
            < 0) {
        std::printf("the DXF drawing could not be imported\n");
        result = 1;
    } else {
        const double seconds
            = Timed(Quoted(cli) + " print-pdf " + Quoted(imported) + " " + Quoted(ours) + quiet);
        std::printf("print-pdf of %d entities imported: %.2f s, %.1f MB\n", kEntities, seconds,
            Megabytes(ours));
        // The peer writes DRAWING.pdf beside itself when run in the folder.
        const double peer = Timed("cd " + Quoted(folder) + " && QT_QPA_PLATFORM=offscreen "
            + "librecad dxf2pdf -a " + Quoted(dxf.filename()) + quiet);
        if (seconds < 0) {
            std::printf("print-pdf failed\n");
            result = 1;
        } else if (peer <= 0) {
            std::printf("the peer program (librecad) is not there: no comparison\n");
        } else {
            std::printf("librecad dxf2pdf of the same DXF: %.2f s, %.1f MB\n", peer,
                Megabytes(folder / dxf.filename().replace_extension(".pdf")));
            ReportTarget(
                "print-pdf of 1,000,000 DXF entities / the peer's dxf2pdf", seconds / peer, 0.2);
        }
    }
    fs::remove_all(folder);
    return result;
}
