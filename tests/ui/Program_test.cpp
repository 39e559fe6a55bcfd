// The built program as a process: a signal that ends it runs the closing
// steps of its main window.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// True once the process has a handler for `signal` (SigCgt in its status).
bool ZachytavaSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& radek : status.readAll().split('\n')) {
        if (!radek.startsWith("SigCgt:"))
            continue;
        bool ok = false;
        const qulonglong maska = radek.mid(7).trimmed().toULongLong(&ok, 16);
        return ok && (maska >> (signal - 1) & 1u) != 0;
    }
    return false;
}

QByteArray ObsahSouboru(const QString& soubor)
{
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void sigtermUloziNastaveni();
};

// A copy of the program in a folder of its own keeps its settings file
// there; SIGTERM ends it with exit code 0 and the settings it read stored.
void TestProgram::sigtermUloziNastaveni()
{
    QTemporaryDir slozka;
    const QString program = slozka.filePath(QStringLiteral("W_vk7316r"));
    const QString ini = slozka.filePath(QStringLiteral("W_vk7316r.ini"));
    QVERIFY(QFile::copy(QStringLiteral(W_VK7316R_CESTA), program));
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Rozhraní]\nRozhraní=1\n[LAN]\nIP adresa=10.20.30.40\n[UART]\nAdresa=17\n");
    }

    QProcess proces;
    QProcessEnvironment prostredi = QProcessEnvironment::systemEnvironment();
    prostredi.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    prostredi.insert(QStringLiteral("HOME"), slozka.filePath(QStringLiteral("home")));
    prostredi.insert(QStringLiteral("XDG_CONFIG_HOME"), slozka.filePath(QStringLiteral("config")));
    proces.setProcessEnvironment(prostredi);
    proces.setWorkingDirectory(slozka.path());
    proces.setProcessChannelMode(QProcess::MergedChannels);
    proces.start(program, {});
    QVERIFY(proces.waitForStarted(5000));
    // The handler is in place once the main window exists, just before the
    // message loop runs.
    QTRY_VERIFY_WITH_TIMEOUT(ZachytavaSignal(proces.processId(), SIGTERM) || proces.state() != QProcess::Running,
                             10000);
    QVERIFY2(proces.state() == QProcess::Running, proces.readAll().constData());
    QVERIFY(::kill(pid_t(proces.processId()), SIGTERM) == 0);
    // Unfinished, the process is killed when `proces` goes.
    QVERIFY2(proces.waitForFinished(10000), "still running 10 s after SIGTERM");
    const QByteArray vystup = proces.readAll();
    QVERIFY2(proces.exitStatus() == QProcess::NormalExit, vystup.constData());
    QCOMPARE(proces.exitCode(), 0);
    QCOMPARE(ObsahSouboru(ini), QByteArray("[Rozhraní]\nRozhraní=1\n"
                                           "[LAN]\nIP adresa=10.20.30.40\nVerze IP=0\nTimeout=1000\nOpakovani=3\n"
                                           "[UART]\nAdresa=17\nCOM=1\nRychlost=4\nParita=1\nTimeout=330\nMezera=0\n"
                                           "RS485=0\nRS485ZpozdeniPred=0\nRS485ZpozdeniPo=0\nEcho=1\n"));
    QVERIFY(!QDir(slozka.filePath(QStringLiteral("config"))).exists());
}

QTEST_MAIN(TestProgram)
#include "Program_test.moc"
