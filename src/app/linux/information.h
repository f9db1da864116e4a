#pragma once
// `pictavo --help` and `pictavo --version`: answered on standard output
// before anything opens a display, so they work from a terminal, a package
// script or a man-page check alike.

#include <string>
#include <vector>

namespace pictavo::app {

enum class Information {
    None,     // run the saver
    Usage,    // --help, -help, -h
    Version,  // --version, -version
};

// What the arguments ask to be told instead of running the saver. --help
// wins over --version wherever each stands.
Information informationAskedFor(const std::vector<std::string>& arguments);

std::string usageText();
std::string versionText();

}  // namespace pictavo::app
