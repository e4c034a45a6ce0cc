#include "SettingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdlib>
#include <mutex>

namespace mox::platform {

namespace {

// The registry has an unnamed default value per key; INI keys cannot be empty,
// so it is kept under the name regedit shows for it.
const QString kDefaultValueName = QStringLiteral("(Default)");

// Registry paths use backslashes; QSettings groups use slashes. Separators at
// either end and doubled ones would otherwise make empty group names.
QString GroupPath(const std::string& key) {
    QString path = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

QString ValueKey(const std::string& name) {
    if (name.empty())
        return kDefaultValueName;
    QString n = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    // A slash in a value name would silently open a subgroup.
    n.replace(QLatin1Char('\\'), QLatin1Char('_'));
    n.replace(QLatin1Char('/'), QLatin1Char('_'));
    return n;
}

QString FullKey(const std::string& key, const std::string& name) {
    const QString group = GroupPath(key);
    const QString value = ValueKey(name);
    return group.isEmpty() ? value : group + QLatin1Char('/') + value;
}

bool IsValidUtf8(const std::string& s) {
    const QByteArray bytes(s.data(), static_cast<qsizetype>(s.size()));
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

std::optional<uint32_t> ParseDword(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    qulonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toULongLong(&ok, 16);
    else
        v = t.toULongLong(&ok, 10);
    if (!ok || v > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<uint32_t>(v);
}

class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const std::string& path)
        : m_path(path), m_settings(QString::fromStdString(path), QSettings::IniFormat) {}

    ~IniSettingsStore() override {
        std::lock_guard lock(m_mutex);
        m_settings.sync();
    }

    std::optional<std::string> GetString(const std::string& key,
                                         const std::string& name) const override {
        std::lock_guard lock(m_mutex);
        const QVariant v = m_settings.value(FullKey(key, name));
        if (!v.isValid())
            return std::nullopt;
        // Bytes that were not UTF-8 were stored as a byte array and come back
        // unchanged; everything else is text.
        const QByteArray bytes =
            v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }

    void SetString(const std::string& key, const std::string& name,
                   const std::string& value) override {
        std::lock_guard lock(m_mutex);
        if (IsValidUtf8(value))
            m_settings.setValue(FullKey(key, name), QString::fromStdString(value));
        else
            m_settings.setValue(FullKey(key, name),
                                QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    }

    std::optional<uint32_t> GetDword(const std::string& key,
                                     const std::string& name) const override {
        std::lock_guard lock(m_mutex);
        const QVariant v = m_settings.value(FullKey(key, name));
        if (!v.isValid() || v.typeId() == QMetaType::QByteArray)
            return std::nullopt;
        return ParseDword(v.toString());
    }

    void SetDword(const std::string& key, const std::string& name, uint32_t value) override {
        std::lock_guard lock(m_mutex);
        m_settings.setValue(FullKey(key, name), QString::number(value));
    }

    void Remove(const std::string& key, const std::string& name) override {
        std::lock_guard lock(m_mutex);
        if (name.empty()) {
            const QString group = GroupPath(key);
            // An empty path would clear the whole file; a key that is not
            // there has nothing below it.
            if (!group.isEmpty())
                m_settings.remove(group);
            return;
        }
        m_settings.remove(FullKey(key, name));
    }

    std::vector<std::string> ValueNames(const std::string& key) const override {
        std::lock_guard lock(m_mutex);
        std::vector<std::string> names;
        const QString group = GroupPath(key);
        if (!group.isEmpty())
            m_settings.beginGroup(group);
        const QStringList keys = m_settings.childKeys();
        if (!group.isEmpty())
            m_settings.endGroup();
        for (const QString& k : keys)
            names.push_back(k == kDefaultValueName ? std::string() : k.toStdString());
        return names;
    }

    void Sync() override {
        std::lock_guard lock(m_mutex);
        m_settings.sync();
    }

    std::string FilePath() const override { return m_path; }

private:
    const std::string m_path;
    mutable std::mutex m_mutex;
    // QSettings is reentrant, not thread-safe: every use holds m_mutex.
    mutable QSettings m_settings;
};

std::mutex g_instanceMutex;
std::unique_ptr<SettingsStore> g_instance; // guarded by g_instanceMutex

} // namespace

SettingsStore& SettingsStore::Instance() {
    std::lock_guard lock(g_instanceMutex);
    if (!g_instance)
        g_instance = OpenFile(DefaultPath());
    return *g_instance;
}

std::string SettingsStore::DefaultPath() {
    if (const char* env = std::getenv("MOX_SETTINGS"); env && *env)
        return env;
    // The generic folder rather than the application one: the bus control
    // module and the registration command run without the program's
    // application name, and all of them must find the same file.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.config");
    return (dir + QStringLiteral("/Kestrin/mox.ini")).toStdString();
}

std::unique_ptr<SettingsStore> SettingsStore::OpenFile(const std::string& path) {
    return std::make_unique<IniSettingsStore>(path);
}

void SettingsStore::SetInstanceForTesting(std::unique_ptr<SettingsStore> store) {
    std::lock_guard lock(g_instanceMutex);
    g_instance = std::move(store);
}

} // namespace mox::platform
