// Arbitrary bytes as the per-user settings file: the store opens it, reads "Lim", "Fin" and
// "Hints" value by value, the set-up values it gives are brought into range, and what is
// written back at exit is read back unchanged. The first eight bytes, as two integers, are
// also brought into range directly.
#include "core/Puzzle.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace tarnell {

namespace {

constexpr int DefaultHints = 1;

void checkSetup(const TSetup& setup) {
    FUZZ_CHECK(setup.Size >= MinFieldSize && setup.Size <= MaxFieldSize);
    FUZZ_CHECK(setup.Foxes >= 1 && setup.Foxes <= MaxFoxes(setup.Size));
}

void checkNormalize(int storedSize, int storedFoxes) {
    const TSetup setup = NormalizeSetup(storedSize, storedFoxes);
    checkSetup(setup);
    // Values in range are kept; normalising twice changes nothing.
    const bool sizeInRange = storedSize >= MinFieldSize && storedSize <= MaxFieldSize;
    if (sizeInRange)
        FUZZ_CHECK(setup.Size == storedSize);
    else
        FUZZ_CHECK(setup.Size == DefaultSetupSize);
    if (sizeInRange && storedFoxes >= 1 && storedFoxes <= MaxFoxes(storedSize))
        FUZZ_CHECK(setup.Foxes == storedFoxes);
    const TSetup again = NormalizeSetup(setup.Size, setup.Foxes);
    FUZZ_CHECK(again.Size == setup.Size && again.Foxes == setup.Foxes);
}

// The store caches a file it has read until its size or time changes; every input gets a
// time of its own so that the store really reads it.
void touchUniquely(const QString& path) {
    static long long seconds = 1'000'000'000;
    ++seconds;
    const struct timespec times[2] = {{static_cast<time_t>(seconds), 0},
                                      {static_cast<time_t>(seconds), 0}};
    FUZZ_CHECK(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

void writeFile(const QString& path, const char* data, qsizetype size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    FUZZ_CHECK(opened);
    if (opened)
        FUZZ_CHECK(file.write(data, size) == size);
    file.close();
    touchUniquely(path);
}

struct StoredValues {
    std::optional<int> Lim;
    std::optional<int> Fin;
    std::optional<int> Hints;
};

StoredValues readValues(const platform::SettingsStore& store) {
    StoredValues values{store.readInteger(QStringLiteral("Lim")),
                        store.readInteger(QStringLiteral("Fin")),
                        store.readInteger(QStringLiteral("Hints"))};
    // A value that reads exists; the boolean reads exactly when its integer does.
    for (const char* name : {"Lim", "Fin", "Hints"}) {
        const QString key = QString::fromLatin1(name);
        if (store.readInteger(key))
            FUZZ_CHECK(store.valueExists(key));
    }
    const std::optional<bool> hints = store.readBool(QStringLiteral("Hints"));
    FUZZ_CHECK(hints.has_value() == values.Hints.has_value());
    if (hints && values.Hints)
        FUZZ_CHECK(*hints == (*values.Hints != 0));
    return values;
}

void checkStoreRoundTrip(std::span<const std::uint8_t> bytes) {
    QString path;
    TSetup setup{};
    bool hints = true;
    {
        platform::SettingsStore store;
        path = store.location();
        writeFile(path, reinterpret_cast<const char*>(bytes.data()),
                  static_cast<qsizetype>(bytes.size()));
        // A damaged file still opens: what reads is used, the rest takes its default.
        FUZZ_CHECK(store.open());
        if (!store.isOpen())
            return;
        const StoredValues values = readValues(store);
        setup = NormalizeSetup(values.Fin.value_or(DefaultSetupSize),
                               values.Lim.value_or(DefaultSetupFoxes));
        checkSetup(setup);
        hints = values.Hints.value_or(DefaultHints) != 0;
        // What the program writes at exit.
        FUZZ_CHECK(store.writeInteger(QStringLiteral("Lim"), setup.Foxes));
        FUZZ_CHECK(store.writeInteger(QStringLiteral("Fin"), setup.Size));
        FUZZ_CHECK(store.writeBool(QStringLiteral("Hints"), hints));
        FUZZ_CHECK(store.sync());
    }
    // Read back from the disk at the next start, the values are the ones written.
    touchUniquely(path);
    platform::SettingsStore next;
    FUZZ_CHECK(next.open());
    const StoredValues values = readValues(next);
    FUZZ_CHECK(values.Lim == setup.Foxes);
    FUZZ_CHECK(values.Fin == setup.Size);
    FUZZ_CHECK(values.Hints == (hints ? 1 : 0));
}

} // namespace

} // namespace tarnell

using namespace tarnell;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    fuzzsupport::InputReader input(bytes);
    const int storedSize = input.int32();
    const int storedFoxes = input.int32();
    checkNormalize(storedSize, storedFoxes);
    checkStoreRoundTrip(bytes);
    return 0;
}
