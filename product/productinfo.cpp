#include "product/productinfo.h"

#include "product/productcodes.h"
#include "product/verinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <QLocale>

namespace {
QString format_build_date()
{
    // The locale's short date, always with a four-digit year.
    QString pattern = QLocale().dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return QLocale().toString(QDate(2023, 9, 22), pattern);
}
} // namespace

QString with_separator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

DataDirSources platform_data_dir_sources(const QString &versionMajor)
{
    DataDirSources sources;
    sources.sharedDataLocation =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    sources.readSystemValue = [versionMajor] {
        QSettings settings(QSettings::NativeFormat, QSettings::SystemScope,
                           QLatin1String(MakerFullName), QLatin1String(ProductName));
        return settings.value(versionMajor + QLatin1String("/UserFilesPath")).toString();
    };
    sources.executableFolder = QCoreApplication::applicationDirPath();
    return sources;
}

QString resolve_data_dir(const QString &makerFullName, const QString &productName,
                         const QString &makerShortName, const DataDirSources &sources)
{
    Q_UNUSED(makerFullName) // names the machine-wide settings inside readSystemValue
    const QString exeFolder = with_separator(sources.executableFolder);
    const QString tail = makerShortName + QLatin1Char('/') + productName + QLatin1Char('/');
    QString candidate;
    if (!sources.sharedDataLocation.isEmpty()) {
        candidate = with_separator(sources.sharedDataLocation) + tail;
    } else {
        const QString value = sources.readSystemValue ? sources.readSystemValue() : QString();
        candidate = value.isEmpty() ? exeFolder : with_separator(value) + tail;
    }
    return QFileInfo(candidate).isDir() ? candidate : exeFolder;
}

QString version_major(const QString &fileVersion) { return fileVersion.left(3); }

ProductInfo load_product_info()
{
    ProductInfo product;
    {
        TEPInfoExe info;
        info.FExeName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        info.Execute();
        product.fileVersion = info.FFileVersion;
    }
    product.versionMajor = version_major(product.fileVersion);
    product.buildDate = format_build_date();
    product.dataDir = resolve_data_dir(QLatin1String(MakerFullName), QLatin1String(ProductName),
                                       QLatin1String(MakerShortName),
                                       platform_data_dir_sources(product.versionMajor));
    return product;
}
