#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pallstone {

// The small window in which a person types a name: renaming a list entry, naming a profile or a
// new folder. It reports through its handlers and never touches the configuration itself.
//
// A name containing "/" or equal to "." or ".." is refused whatever `required` says: callers use
// such names as file names, where they would leave the folder they were meant for.
class NameDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NameDialog)

public:
    explicit NameDialog(QWidget* parent = nullptr);
    ~NameDialog() override;

    std::function<void(const QString&)> editHandler;
    std::function<void()> cancelHandler;

    // Replaces the field's text at once.
    void setDefaultAlias(const QString& alias);
    // A null text keeps the default ("Please enter a display name", "Without Display Name Tip");
    // an empty one shows nothing.
    void setTipLabelString(const QString& tip);
    void setTipPlaceholder(const QString& placeholder);
    // OK does nothing while the text is not valid (blank or "(null)").
    void setRequired(bool required);
    bool required() const { return m_required; }

    // Whether OK would accept the text: the rules above.
    bool acceptsName(const QString& text) const;
    // Names that would leave their folder: containing "/", or "." or "..".
    static bool isUnsafeName(const QString& text);

    QLineEdit* aliasTextField() const { return m_aliasTextField; }
    QPushButton* okBtn() const { return m_okBtn; }
    QPushButton* cancelBtn() const { return m_cancelBtn; }
    QLabel* tipLabel() const { return m_tipLabel; }

public Q_SLOTS:
    void onSure();
    void onCancel();

protected:
    void reject() override;

private:
    void updateState();
    void showPlaceholder();

    QString m_defaultAlias;
    QString m_tipLabelString;
    bool m_required = false;
    QString m_placeholder; // null: the default one
    QLineEdit* m_aliasTextField = nullptr;
    QLabel* m_tipLabel = nullptr;
    QLabel* m_refusedLabel = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
};

} // namespace pallstone
