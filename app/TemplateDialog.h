#pragma once

#include "MenuItem.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <optional>

class QCheckBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pallstone {

// The window in which a person defines a new kind for the "New File" submenu: its title, the
// extension and default name (or, for a special file such as .gitignore, its whole name), and
// optionally a template file and an icon. The chosen files are worked on as copies in the cache
// folder and move to the template folder only on OK; Cancel leaves nothing behind.
class TemplateDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TemplateDialog)

public:
    explicit TemplateDialog(QWidget* parent = nullptr);
    ~TemplateDialog() override;

    // Called with the finished kind after OK.
    std::function<void(const MenuItemPtr&)> addSuccessBlock;

    const MenuItemPtr& menuItem() const { return m_menuItem; }
    QString templatePath() const { return m_templatePath; }
    QString iconPath() const { return m_iconPath; }

    // Whether OK may be pressed with the texts as they are.
    bool canConfirm() const;
    // A special file's name: valid, not made of dots only, no "/".
    static bool isAcceptableSpecialName(const QString& name);

    void refresh();
    void onSelectTemplate();
    void onSelectIcon();
    // Takes a chosen picture as the working icon; refuses (with a message) anything else.
    bool selectIcon(const QString& path);
    // Takes a chosen template file: copies it into the cache folder and fills the inputs.
    bool selectTemplate(const QString& path);
    // Writes the image, fitted into 60 by 60 pixels, as the working icon.
    bool saveImage(const QImage& image);
    void onCancel();
    void onSure();

    QLineEdit* inputFileType() const { return m_inputFileType; }
    QLineEdit* inputExtension() const { return m_inputExtension; }
    QLineEdit* inputFileName() const { return m_inputFileName; }
    QLineEdit* inputSpecialName() const { return m_inputSpecialName; }
    QCheckBox* checkedSpecialFile() const { return m_checkedSpecialFile; }
    QPushButton* sureBtn() const { return m_sureBtn; }
    QPushButton* cancelBtn() const { return m_cancelBtn; }

protected:
    void reject() override;

private:
    void removeWorkingFiles();
    QString workingPath(const QString& suffix) const;

    MenuItemPtr m_menuItem;
    QString m_templatePath;
    QString m_iconPath;
    bool m_finished = false;

    QLineEdit* m_inputFileType = nullptr;
    QLineEdit* m_inputExtension = nullptr;
    QLineEdit* m_inputFileName = nullptr;    // the default name of an ordinary kind
    QLineEdit* m_inputSpecialName = nullptr; // a special file's whole name
    QCheckBox* m_checkedSpecialFile = nullptr;
    QFormLayout* m_form = nullptr;
    QString m_templateName; // the chosen template's own name
    std::optional<bool> m_shownSpecial;
    QPushButton* m_buttonIcon = nullptr;
    QPushButton* m_buttonSelectTemplate = nullptr;
    QLabel* m_labelTipSelected = nullptr;
    QPushButton* m_sureBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
};

} // namespace pallstone
