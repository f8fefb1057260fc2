#pragma once

#include <QString>
#include <string>

class QWidget;

// "Open reservebestand": an open dialog in the backup folder, in detail
// view, that lists the reserve copies of `title` (every copy when the title
// is empty) with their dates, newest first. The chosen file, or empty.
QString AskReserveFile(QWidget* parent, const QString& folder, const std::string& title);
