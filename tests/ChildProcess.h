#pragma once
// Work that a test runs in a child process, so it can be killed in the middle: the test
// binary starts itself again with KORDI_TEST_CHILD naming a role, and main runs that role
// instead of the tests.

#include <QProcess>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

using TChildRole = std::function<void(const QString& argument)>;

// Registers a role under its name; meant for the initialiser of a namespace-scope constant.
bool RegisterChildRole(const char* name, TChildRole role);
// In a child: runs the role KORDI_TEST_CHILD names and gives the exit status. In a normal run
// of the tests: nothing.
std::optional<int> RunChildRole();
// In a child: tells the parent that the role's work is under way.
void ReportChildReady();
// Starts the role in a child with the argument and waits until it reports ready; null when it
// did not within 10 s.
std::unique_ptr<QProcess> StartChildRole(const char* role, const QString& argument);
