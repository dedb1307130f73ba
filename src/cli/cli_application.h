// The tool's Qt application object.
#pragma once

#include <QCoreApplication>
#include <memory>

namespace qm::cli {

// A core application for every verb (paths, codecs, the serial port), except that the print
// verb gets a GUI application on the offscreen platform: painting text needs fonts, which only
// a GUI application has, and the tool never opens a window.
std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv);

}  // namespace qm::cli
