#include "ChildProcess.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <cstdio>
#include <map>
#include <string>

namespace {

const char* const RoleVariable = "KORDI_TEST_CHILD";
const char* const ArgumentVariable = "KORDI_TEST_CHILD_ARGUMENT";
const QByteArray ReadyLine = "ready\n";

std::map<std::string, TChildRole>& Roles() {
    static std::map<std::string, TChildRole> roles;
    return roles;
}

} // namespace

bool RegisterChildRole(const char* name, TChildRole role) {
    return Roles().emplace(name, std::move(role)).second;
}

std::optional<int> RunChildRole() {
    const QByteArray name = qgetenv(RoleVariable);
    if (name.isEmpty())
        return std::nullopt;
    const auto role = Roles().find(name.toStdString());
    if (role == Roles().end()) {
        std::fprintf(stderr, "no child role %s\n", name.constData());
        return 2;
    }
    role->second(qEnvironmentVariable(ArgumentVariable));
    return 0;
}

void ReportChildReady() {
    std::fputs(ReadyLine.constData(), stdout);
    std::fflush(stdout);
}

std::unique_ptr<QProcess> StartChildRole(const char* role, const QString& argument) {
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(RoleVariable, role);
    environment.insert(ArgumentVariable, argument);
    child->setProcessEnvironment(environment);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QCoreApplication::applicationFilePath(), {});
    if (!child->waitForReadyRead(10000) || child->readLine() != ReadyLine)
        return nullptr;
    return child;
}
