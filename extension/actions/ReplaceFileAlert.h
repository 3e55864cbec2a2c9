#pragma once

#include <QString>

#include <optional>

namespace pallstone {

// Settles a name conflict at a destination before an item is created, copied or moved there.
class ReplaceFileAlert final
{
public:
    // Write: the caller writes the new file over the old one itself (atomically), so "Replace"
    // leaves the old file until the new one is complete.
    enum class Operation
    {
        Create,
        Copy,
        Move,
        Write
    };

    // The path to use: the destination itself when it is free; after the conflict alert, the
    // unique variant ("Keep Both") or the destination emptied ("Replace"); nothing for "Stop".
    // An item is never replaced by itself nor by something inside it: moving an item onto its own
    // place leaves it where it is (nothing), and "Replace" of an item that holds the source is
    // refused with an alert.
    static std::optional<QString> resolve(const QString& destination, Operation operation,
                                          const QString& source = {});

private:
    ReplaceFileAlert() = delete;
};

} // namespace pallstone
