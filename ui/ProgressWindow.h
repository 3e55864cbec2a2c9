#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pallstone {

// The small window long actions show while they work: a bar, the percentage and a Cancel button;
// after success it shows the message and closes itself one second later. It deletes itself when
// closed.
class ProgressWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressWindow)

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Indeterminate, with the title as the window's title and the "please wait" tip; the Cancel
    // button stays hidden until a percentage arrives, because nothing measurable runs yet.
    void open(const QString& title, std::function<void()> onCancel);
    // 0 to 100.
    void setPercent(double percent);
    void showSuccess(const QString& message, std::function<void()> onClosed);

    QString tipText() const;
    bool isCancelVisible() const;
    bool isSuccessMarkVisible() const;
    // Showing a success message and about to close itself.
    bool hasSucceeded() const;

    // "42.5%": one decimal and a percent sign.
    static QString percentText(double percent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cancel();

    QLabel* m_mark = nullptr; // the success mark
    QLabel* m_tip = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    std::function<void()> m_onCancel;
    std::function<void()> m_onClosed;
    bool m_succeeded = false;
    quint64 m_generation = 0; // which open() or showSuccess() a pending close belongs to
};

} // namespace pallstone
