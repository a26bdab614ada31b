#ifndef DATACHECK_REPORT_H
#define DATACHECK_REPORT_H

#include <set>
#include <string>

// Collects the findings of the check; every finding names the script (or
// file) it is about.
struct Report {
    int errors = 0, warnings = 0;
    std::set<std::string> named;  // media files the scripts name

    void fail(const std::string& where, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Something a designer should know that the game still plays.
    void warn(const std::string& where, const char* format, ...) __attribute__((format(printf, 3, 4)));
};

#endif
