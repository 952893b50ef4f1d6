#include "platform/qt/qt_settings_store.h"

#include <QSettings>
#include <QStringList>

#include "platform/qt/logging_categories.h"

namespace korvane {

namespace {

constexpr const char* kOrganisation = "Halvern";

QString KeyPath(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

}  // namespace

std::string QtSettingsStore::Read(const std::string& application, const std::string& section,
                                  const std::string& key, const std::string& default_value) {
  const QSettings store(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                        QString::fromStdString(application));
  const QVariant value = store.value(KeyPath(section, key));
  if (!value.isValid()) return default_value;
  // A hand-edited ini line with unquoted commas reads back as a list: keep it as typed.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QLatin1Char(',')).toStdString();
  }
  return value.toString().toStdString();
}

void QtSettingsStore::Write(const std::string& application, const std::string& section,
                            const std::string& key, const std::string& value) {
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                  QString::fromStdString(application));
  store.setValue(KeyPath(section, key), QString::fromStdString(value));
  store.sync();
  if (store.status() != QSettings::NoError) {
    qCDebug(StatusLogCategory) << "settings not written:" << store.fileName();
  }
}

}  // namespace korvane
