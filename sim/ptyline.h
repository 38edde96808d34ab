#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The simulator's end of the serial line: a pseudo-terminal whose slave device is
// published as a link COMn in the COM link folder. Pulling the line closes the pty and
// removes the link, like unplugging a USB adapter; plugging opens a fresh one.
class PtyLine : public QObject {
    Q_OBJECT

public:
    explicit PtyLine(int comNumber, QObject* parent = nullptr);
    ~PtyLine() override;

    // Opens a pty and publishes it. False with a message in error on failure.
    bool Plug(QString& error);
    void Pull();

    bool IsPlugged() const { return FMaster >= 0; }
    QString DevicePath() const { return FDevicePath; }
    QString LinkPath() const;

    // Writes what the line takes now; bytes the pty cannot take are lost, as on a line
    // nobody listens to.
    void Write(const QByteArray& bytes);

signals:
    void Received(const QByteArray& bytes);

private:
    void ReadAvailable();
    bool Publish(QString& error);
    void Unpublish();

    int FComNumber;
    int FMaster = -1;
    int FSlave = -1; // kept open so the master never sees a hang-up
    QString FDevicePath;
    QSocketNotifier* FNotifier = nullptr; // a child, so never left behind
};
