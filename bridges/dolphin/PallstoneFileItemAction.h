#pragma once

#include <KAbstractFileItemActionPlugin>

#include <QList>
#include <QPointer>
#include <QVariantList>

class KFileItemListProperties;
class QObject;

// The Dolphin bridge: shows the menu the Pallstone extension service builds for the items
// Dolphin hands over and hands the chosen entry back to it (pallstone-bridge.c holds the rules
// every bridge keeps).
//
// Dolphin gives the same thing for its view's background and for one selected folder: a single
// folder item. The folder is taken as the background when it is the one the window shows (a
// visible location bar of the window shows it) or when Dolphin hands over the view's own root
// item (named "."); any other folder is a selected one.
class PallstoneFileItemAction final : public KAbstractFileItemActionPlugin
{
    Q_OBJECT

public:
    PallstoneFileItemAction(QObject* parent, const QVariantList& args);
    ~PallstoneFileItemAction() override;

    QList<QAction*> actions(const KFileItemListProperties& fileItemInfos,
                            QWidget* parentWidget) override;

private:
    // What the last menu showed: gone once the next one is asked for.
    QList<QPointer<QObject>> m_shown;
};
