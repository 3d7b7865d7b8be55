// A map file in the data folder, read as the cache reads it when the program starts.
#include "fuzzsupport.h"

#include "core/datetime.h"
#include "maps/mapcache.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {
struct DataFolder
{
    QTemporaryDir dir;
    SystemClock clock;
    MapCache cache{dir.path() + QLatin1Char('/'), clock};
    // Written anew for every input: a load deletes a file that is no map.
    QString path = cache.cache_file_name(View::Temperature);
};

DataFolder &folder()
{
    static DataFolder folder;
    return folder;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silence_qt_messages();
    FUZZ_CHECK(folder().dir.isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DataFolder &f = folder();
    write_file(f.path, input_bytes(data, size));

    const QImage read = read_map_file(f.path);
    FUZZ_CHECK(read.isNull() || read.format() == QImage::Format_ARGB32);

    const QImage loaded = f.cache.load(View::Temperature);
    FUZZ_CHECK(loaded == read);
    // A file that is no map goes, so the view is downloaded again; a map stays.
    FUZZ_CHECK(QFileInfo::exists(f.path) == !loaded.isNull());
    return 0;
}
