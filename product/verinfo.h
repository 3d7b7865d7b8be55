#pragma once

#include <QObject>
#include <QString>

// Reads the version block that the build writes into the executable: entries
// "StringFileInfo\<lang><codepage>\<key>" = value, after a marker that only the block holds.
class TEPInfoExe : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString LangId MEMBER FLangId)
    Q_PROPERTY(QString ExeName MEMBER FExeName)
    Q_PROPERTY(QString CompanyName MEMBER FCompanyName)
    Q_PROPERTY(QString FileDescription MEMBER FFileDescription)
    Q_PROPERTY(QString FileVersion MEMBER FFileVersion)
    Q_PROPERTY(QString InternalName MEMBER FInternalName)
    Q_PROPERTY(QString LegalCopyright MEMBER FLegalCopyright)
    Q_PROPERTY(QString LegalTradeMarks MEMBER FLegalTradeMarks)
    Q_PROPERTY(QString OriginalFilename MEMBER FOriginalFilename)
    Q_PROPERTY(QString ProductName MEMBER FProductName)
    Q_PROPERTY(QString ProductVersion MEMBER FProductVersion)
    Q_PROPERTY(QString Comments MEMBER FComments)
    Q_PROPERTY(QString LastCompiledTime MEMBER FLastCompiledTime)

public:
    explicit TEPInfoExe(QObject *owner = nullptr);

    // Fills the value fields from the block of FExeName. A bare name is looked up in the
    // running executable's folder. No block: every value stays empty.
    void Execute();

    QString FLangId;
    QString FExeName;
    QString FCompanyName;
    QString FFileDescription;
    QString FFileVersion;
    QString FInternalName;
    QString FLegalCopyright;
    QString FLegalTradeMarks;
    QString FOriginalFilename;
    QString FProductName;
    QString FProductVersion;
    QString FComments;
    QString FLastCompiledTime;
};

// The bytes that open the block; built at run time so this code does not contain them.
QByteArray version_block_marker();
