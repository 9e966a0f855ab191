// openurl and url2text against a server on 127.0.0.1, with small limits so that every way a
// request can end is quick to reach.

#include "EventLoop.h"
#include "LocalWebServer.h"
#include "TestSession.h"
#include "foundation/TextFile.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Page = LocalWebServer::Response;

class WebCommands : public ::testing::Test
{
protected:
    WebCommands()
    {
        t->web.limits = {
            .maxRedirects = 2, .maxBytes = 1000, .idleTimeoutMs = 300, .totalTimeoutMs = 600};
    }

    // Runs the command on the server's address for path.
    void open(const QString &command, const QByteArray &path)
    {
        t->exe(command + u' ' + server.url(path));
    }

    TestSession t;
    LocalWebServer server;
};

TEST_F(WebCommands, OpenurlShowsThePageAsReceivedWithItsLinesOnRows)
{
    server.serve("/page", {.body = "<p>one &amp; two</p>\n<p>three</p>\r\n"});
    open(QStringLiteral("openurl"), "/page");
    EXPECT_EQ(t->console.mode(), Console::Mode::Pager);
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("<p>one &amp; two</p>"));
    EXPECT_EQ(t.pagerRow(2), QStringLiteral("<p>three</p>"));
    EXPECT_EQ(t.pagerRow(3), QString());
}

TEST_F(WebCommands, RedirectsAreFollowedUpToTheLimit)
{
    server.serve("/page", {.body = "arrived"});
    server.serve("/hop2", {.status = 302, .location = "/page"});
    server.serve("/hop1", {.status = 301, .location = "/hop2"});
    open(QStringLiteral("openurl"), "/hop1");
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("arrived"));

    server.serve("/hop0", {.status = 302, .location = "/hop1"});
    open(QStringLiteral("openurl"), "/hop0");
    EXPECT_EQ(t.row(2), QStringLiteral(
                            "An error has occurred: Too many redirects (more than 2) (35766)"));
}

// Each failure ends in the one error report, with the address still shown on row 1.
TEST_F(WebCommands, FailuresAreReportedAsRunTimeErrors)
{
    server.serve("/big", {.body = QByteArray(1001, 'x')});
    server.serve("/big-unsized", {.body = QByteArray(5000, 'x'), .sendLength = false});
    server.serve("/endless", {.body = QByteArray(64 * 1024, 'x'), .endless = true});
    server.serve("/drip", {.body = "x", .endless = true, .dripMs = 50});
    server.serve("/bad-gzip", {.body = QByteArrayLiteral("\x1f\x8b\x08\x00not really gzip"),
                               .headers = "Content-Encoding: gzip\r\n"});
    server.serve("/quiet", {.silent = true});
    server.serve("/limit", {.body = QByteArray(1000, 'x')});
    const struct
    {
        QByteArray path;
        QString error;
    } cases[] = {
        {"/missing", QStringLiteral("The server answered 404 Not Found (35765)")},
        {"/big", QStringLiteral("The page is larger than 0.0009537 MiB (35767)")},
        {"/big-unsized", QStringLiteral("The page is larger than 0.0009537 MiB (35767)")},
        {"/endless", QStringLiteral("The page is larger than 0.0009537 MiB (35767)")},
        {"/quiet", QStringLiteral("Timeout: no data for 0.3 seconds (35761)")},
        {"/drip", QStringLiteral("Timeout: the page took more than 0.6 seconds (35761)")},
        {"/bad-gzip",
         QStringLiteral("Request failed: Decompression failed: not valid gzip data (35750)")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        open(QStringLiteral("openurl"), c.path);
        EXPECT_EQ(t.row(1), QStringLiteral("Opening: '") + server.url(c.path) +
                                QStringLiteral("'..."));
        EXPECT_EQ(t.row(2) + t.row(3), QStringLiteral("An error has occurred: ") + c.error);
        EXPECT_EQ(t->console.mode(), Console::Mode::Prompt);
    }
    open(QStringLiteral("openurl"), "/limit");
    EXPECT_EQ(t->pager.pageCount(), 11) << "a page of exactly the limit is shown";
}

TEST_F(WebCommands, AddressesOtherThanHttpAndHostsNotListeningAreRefused)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        closedPort = probe.serverPort();
    }
    // A server that hangs up on the TLS greeting fails as no connection does.
    for (const QString &address :
         {QStringLiteral("http://127.0.0.1:%1/").arg(closedPort),
          server.url("/page").replace(QStringLiteral("http:"), QStringLiteral("https:"))}) {
        t.exe({QStringLiteral("openurl ") + address});
        const QString error = t.row(2) + t.row(3);
        EXPECT_TRUE(error.startsWith(
            QStringLiteral("An error has occurred: Unable to connect to remote host: ")))
            << error.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral("(35754)"))) << error.toStdString();
    }

    for (const QString &address : {QStringLiteral("ftp://127.0.0.1/"), QStringLiteral("/etc/hosts"),
                                   QString()}) {
        t.exe({QStringLiteral("url2text ") + address});
        EXPECT_EQ(t.row(2), QStringLiteral("An error has occurred: URL is malformed (http and "
                                           "https addresses only) (35751)"));
    }
}

// While a page is awaited, timers run, but no second command starts, and a batch's timed
// commands wait until the request has ended.
TEST_F(WebCommands, TheWaitRunsEventsButNoOtherCommand)
{
    server.serve("/quiet", {.silent = true});
    bool timerRan = false;
    QTimer::singleShot(50, [&] {
        timerRan = true;
        open(QStringLiteral("openurl"), "/quiet");
    });
    open(QStringLiteral("openurl"), "/quiet");
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(t.row(2),
              QStringLiteral("An error has occurred: Timeout: no data for 0.3 seconds (35761)"));
    EXPECT_FALSE(t->web.busy());

    t->web.limits.idleTimeoutMs = 1000;
    t->web.limits.totalTimeoutMs = 1000;
    TextFile::save(t.file(QStringLiteral("web.bat")),
                   "at 100 write timed\r\nopenurl " + server.url("/quiet").toUtf8() + "\r\n");
    QString shownDuringTheWait;
    // Half a second into the request, the batch's clock is moved past the timed command.
    QTimer::singleShot(500, [&] {
        t.wait(200);
        shownDuringTheWait = t.row(1);
    });
    t.exe({QStringLiteral("batch ") + t.file(QStringLiteral("web.bat"))});
    t.wait(2);
    EXPECT_EQ(server.requests(), 2);
    t.wait(200);
    EXPECT_EQ(t.row(1), QStringLiteral("timed"));
    EXPECT_TRUE(shownDuringTheWait.startsWith(QStringLiteral("Opening: ")))
        << "a timed command ran under the request: " << shownDuringTheWait.toStdString();
}

// The page's runs of text, one a line; entities are decoded by the utility plugin.
TEST_F(WebCommands, Url2textShowsTheTextOfThePage)
{
    server.serve("/doc", {.body = "<html><body><p>a &amp; b</p><p> </p><b>c</b></body></html>"});
    open(QStringLiteral("url2text"), "/doc");
    EXPECT_EQ(t.pagerRow(1), QStringLiteral("a & b"));
    EXPECT_EQ(t.pagerRow(2), QStringLiteral("c"));
    EXPECT_EQ(t.pagerRow(3), QString());
}

} // namespace
