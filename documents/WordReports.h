#pragma once
// Where the Word reports are saved: the user's documents folder, one new file a report.
#include <QDateTime>
#include <string>

namespace reports {

// The folder the reports are saved in: the user's documents folder unless one was set.
std::string ReportFolder();
// Another folder for the reports (tests); empty returns to the documents folder.
void SetReportFolder(const std::string& folder);

// A path in `folder` named by the report and the time that names no file yet:
// "<name> 2024-03-05 14-07-09.docx", then "... (2).docx" and so on.
std::string NewReportPath(const std::string& folder, const std::string& name,
                          const QDateTime& time);

}  // namespace reports
