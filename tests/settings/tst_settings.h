#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>

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
    void untouchedWindowSavesLastSphereAlone();
    void timePairChangeWritesAllUnitKeys();
    void otherLinesSurviveSaves();
    void saveReplacesFileInOneStep();
    void unwritableFile_data();
    void unwritableFile();
    void iniWriteChangesOneLine_data();
    void iniWriteChangesOneLine();

    // Settings window
    void radiosFollowFlagsAtCreation_data();
    void radiosFollowFlagsAtCreation();
    void showSetsRadiosAgain();
    void choosingRadioSetsFlag_data();
    void choosingRadioSetsFlag();
    void choosingCheckedRadioChangesNothing();
    void rectangleHover();
    void clickTargets_data();
    void clickTargets();
    void tabOrderFollowsBoxes();
    void windowShape();
    void utcRadioForStatusLine();
    void windowRegistersItself();

private:
    QString iniPath() const;
    void writeIni(const QByteArray &text) const;
    QByteArray readIni() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};
