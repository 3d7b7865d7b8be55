#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include "settings/settingsstore.h"

#include <memory>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Ini values and the store
    void textToInt_data();
    void textToInt();
    void readSettings_data();
    void readSettings();
    void readLastSphereLeavesNoFile();
    void firstSaveWritesAllKeysInOrder();
    void lastSphereRoundTrip_data();
    void lastSphereRoundTrip();
    void otherLinesSurviveSaves();
    void brokenSectionLineIsSkipped();
    void keysAreNotTakenForComments_data();
    void keysAreNotTakenForComments();
    void keyNameStartingWithMarkBytes();
    void saveReplacesFileInOneStep();
    void unwritableFile_data();
    void unwritableFile();
    void iniWriteChangesOneLine_data();
    void iniWriteChangesOneLine();
    void windowGeometryHasASectionOfItsOwn();
    void realisticDayNightRoundTrip_data();
    void realisticDayNightRoundTrip();

private:
    QString iniPath() const;
    void writeIni(const QByteArray &text) const;
    QByteArray readIni() const;
    SettingsStore store() const { return SettingsStore(m_dataDir); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dataDir;
};
