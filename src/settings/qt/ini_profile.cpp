#include "settings/qt/ini_profile.h"

#include <QByteArray>
#include <QStandardPaths>
#include <QVariant>

#ifdef _WIN32
#endif

namespace luma {
namespace {

QString KeyOf(std::string_view section, std::string_view entry)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QLatin1Char('/') + QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

std::string StatusText(QSettings::Status status)
{
    return status == QSettings::AccessError ? "the settings file cannot be written"
                                            : "the settings file is damaged";
}

}  // namespace

IniProfile::IniProfile(const QString& filePath) : m_settings(filePath, QSettings::IniFormat) {}

QString IniProfile::UserProfilePath(const QString& applicationName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/LUMA/") + applicationName + QStringLiteral(".ini");
}

// An INI file keeps no kinds: an int reads back as text, so it counts as an int when it parses.
std::optional<int> IniProfile::GetInt(std::string_view section, std::string_view entry)
{
    const QVariant value = m_settings.value(KeyOf(section, entry));
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (!value.isValid() || !isNumber) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::string> IniProfile::GetString(std::string_view section, std::string_view entry)
{
    const QVariant value = m_settings.value(KeyOf(section, entry));
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value.toString().toStdString();
}

std::optional<SettingsBytes> IniProfile::GetBytes(std::string_view section,
                                                  std::string_view entry)
{
    const QVariant value = m_settings.value(KeyOf(section, entry));
    if (value.typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    return SettingsBytes(bytes.begin(), bytes.end());
}

void IniProfile::PutInt(std::string_view section, std::string_view entry, int value)
{
    m_settings.setValue(KeyOf(section, entry), value);
}

void IniProfile::PutString(std::string_view section, std::string_view entry,
                           std::string_view utf8)
{
    m_settings.setValue(KeyOf(section, entry),
                        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void IniProfile::PutBytes(std::string_view section, std::string_view entry,
                          const SettingsBytes& bytes)
{
    m_settings.setValue(KeyOf(section, entry),
                        QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
}

// QSettings writes the file here, atomically; a failure leaves the earlier file.
std::optional<std::string> IniProfile::Flush()
{
    m_settings.sync();
    if (m_settings.status() != QSettings::NoError) {
        return StatusText(m_settings.status()) + ": " + m_settings.fileName().toStdString();
    }
    return std::nullopt;
}

}  // namespace luma
