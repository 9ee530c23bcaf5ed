#include "app/settings_store.h"

#include <QSettings>
#include <QStringList>

namespace cq {

namespace {

QString toQString(const std::string& text) { return QString::fromStdString(text); }

std::string valueText(const QSettings& settings, const QString& key) {
  const QVariant value = settings.value(key);
  // A hand-edited INI value with an unquoted "," reads back as a list.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',').toStdString();
  return value.toString().toStdString();
}

}  // namespace

std::string settingsApplicationName(const Edition& edition) {
  return "Co_Quor_" + std::string(edition.name);
}

SettingsStore::SettingsStore(const Edition& edition)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            kSettingsOrganisation,
                                            toQString(settingsApplicationName(edition)))) {}

SettingsStore::SettingsStore(const std::filesystem::path& iniFile)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(iniFile.string()),
                                            QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::get(const std::string& section, const std::string& key) const {
  return valueText(*settings_, toQString(section + "/" + key));
}

void SettingsStore::save(const std::string& section, const std::string& key,
                         const std::string& value) {
  settings_->setValue(toQString(section + "/" + key), toQString(value));
  // Written at once: settings change only on explicit user actions.
  settings_->sync();
}

std::vector<std::pair<std::string, std::string>> SettingsStore::getAll(
    const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> pairs;
  settings_->beginGroup(toQString(section));
  for (const QString& key : settings_->childKeys()) {
    pairs.emplace_back(key.toStdString(), valueText(*settings_, key));
  }
  settings_->endGroup();
  return pairs;
}

void SettingsStore::deleteSection(const std::string& section) {
  settings_->remove(toQString(section));
  settings_->sync();
}

std::filesystem::path SettingsStore::fileName() const {
  return settings_->fileName().toStdString();
}

}  // namespace cq
