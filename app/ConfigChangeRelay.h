#pragma once

#include <QObject>

namespace pallstone {

// Tells a running settings application that the configuration was replaced from outside (a
// profile switched by `pallstone profile switch`), so that its open pages show the new one. The
// application exports it on the session bus; the command line calls it.
class ConfigChangeRelay final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tolvane.pallstone.Config")
    Q_DISABLE_COPY_MOVE(ConfigChangeRelay)

public:
    static const QString kObjectPath;

    explicit ConfigChangeRelay(QObject* parent = nullptr);
    ~ConfigChangeRelay() override;

    // Calls configChanged() on the running settings application, if there is one; waits at most
    // two seconds.
    static void notifyRunningApplication();

public Q_SLOTS:
    // Posts "config change noti" and lets the main menu editor reload, as an in-process switch
    // does.
    Q_SCRIPTABLE void configChanged();
};

} // namespace pallstone
