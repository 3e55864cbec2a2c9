#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace pallstone {

// A file written under a hidden temporary name beside its final path and put in place only when
// complete: a failed or cancelled write (full disk, a corrupt source) leaves whatever was at the
// path untouched, and a reader never sees half a file. A symbolic link at the path is replaced
// as a name, never written through: the file it points to may be anyone's, anywhere. Every
// output of a conversion is written through this class.
class OutputFile final
{
public:
    explicit OutputFile(const QString& path);
    ~OutputFile();
    Q_DISABLE_COPY_MOVE(OutputFile)

    // Reads the umask once, from /proc: asking the system call for it means setting it, which
    // would race with files other threads create (where /proc is missing, call this before any
    // worker runs).
    static void initialise();

    bool open(QString* error);
    int descriptor() const { return m_fd; }
    // Writes all of bytes to fd, going on after interruptions.
    static bool writeAll(int fd, const QByteArray& bytes, QString* error);

    // Renames over the path, keeping the permissions of a file it replaces (synced first then).
    bool commit(QString* error);
    // Renames to the path without replacing anything: when that name was taken
    // meanwhile, to the next free one by the -1, -2 ... rule. The name used, or nothing.
    std::optional<QString> commitUnique(QString* error);

    // Creates a new, empty folder at path or, when that name is taken (even by a folder made a
    // moment ago by another job), at the next free one by the -1, -2 ... rule. The folder is
    // then ours alone, so removing it again on failure loses nothing of anyone's.
    static std::optional<QString> createUniqueFolder(const QString& path, QString* error);

private:
    bool finish(bool replacing, QString* error);

    QString m_path;
    QByteArray m_temporary;
    int m_fd = -1;
    bool m_done = false;
};

} // namespace pallstone
