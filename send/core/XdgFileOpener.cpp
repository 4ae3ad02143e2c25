#include "send/core/XdgFileOpener.h"

#include <QProcess>

#include <utility>

XdgFileOpener::XdgFileOpener(QString program, QProcessEnvironment environment)
    : m_program(std::move(program)), m_environment(std::move(environment))
{
}

bool XdgFileOpener::open(const QString& path)
{
    QProcess process;
    process.setProgram(m_program);
    process.setArguments({path});
    process.setProcessEnvironment(m_environment);
    return process.startDetached();
}
