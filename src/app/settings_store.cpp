#include "app/settings_store.h"

#include <QSettings>
#include <QStringList>

#include "app/text_boundary.h"

namespace cq {

namespace {

// Settings texts are Unicode, kept as UTF-8.
QString utf8Text(const std::string& text) { return QString::fromStdString(text); }

std::string valueText(const QSettings& settings, const QString& key) {
  const QVariant value = settings.value(key);
  // A hand-edited INI value with an unquoted "," reads back as a list.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',').toStdString();
  return value.toString().toStdString();
}

}  // namespace

std::string settingsApplicationName(const Edition& edition) {
  return "Co_Quor_" + std::string(edition.name);
}

SettingsStore::SettingsStore(const Edition& edition)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            utf8Text(kSettingsOrganisation),
                                            utf8Text(settingsApplicationName(edition)))) {}

SettingsStore::SettingsStore(const std::filesystem::path& iniFile)
    : settings_(std::make_unique<QSettings>(pathToQString(iniFile), QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::get(const std::string& section, const std::string& key) const {
  return valueText(*settings_, utf8Text(section + "/" + key));
}

void SettingsStore::save(const std::string& section, const std::string& key,
                         const std::string& value) {
  settings_->setValue(utf8Text(section + "/" + key), utf8Text(value));
  // Written at once: settings change only on explicit user actions.
  settings_->sync();
}

std::vector<std::pair<std::string, std::string>> SettingsStore::getAll(
    const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> pairs;
  settings_->beginGroup(utf8Text(section));
  for (const QString& key : settings_->childKeys()) {
    pairs.emplace_back(key.toStdString(), valueText(*settings_, key));
  }
  settings_->endGroup();
  return pairs;
}

void SettingsStore::deleteSection(const std::string& section) {
  settings_->remove(utf8Text(section));
  settings_->sync();
}

std::filesystem::path SettingsStore::fileName() const {
  return qStringToPath(settings_->fileName());
}

}  // namespace cq
