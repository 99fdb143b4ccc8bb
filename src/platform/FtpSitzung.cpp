#include "platform/FtpSitzung.h"

#include "platform/Dienste.h"
#include "platform/Schreiber.h"

#include <QBuffer>
#include <QFile>
#include <QList>
#include <QStringDecoder>
#include <QUrl>

#include <curl/curl.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>

namespace varnek
{

namespace
{

// libcurl wants one global initialisation per process before any handle.
void ensureCurlGlobal()
{
    static const bool initialised = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)initialised;
}

// Frees a curl_slist when it goes out of scope.
struct SList {
    curl_slist *list = nullptr;
    SList() = default;
    SList(const SList &) = delete;
    SList &operator=(const SList &) = delete;
    ~SList() { curl_slist_free_all(list); }
    void append(const QByteArray &line) { list = curl_slist_append(list, line.constData()); }
};

// Reply text as the server sent it (UTF-8, or Latin-1 when it is not valid
// UTF-8), without line end, NUL or other control characters.
QString cleanReply(const QByteArray &raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    if (utf8.hasError())
        text = QString::fromLatin1(raw);
    return bereinigeStatus(text);
}

bool hasLineBreakOrNul(const QString &s)
{
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n')) ||
           s.contains(QChar(u'\0'));
}

// Three-digit reply code at the start of a line, or 0.
int replyCode(const QByteArray &line)
{
    if (line.size() < 3)
        return 0;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9')
            return 0;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

// The path in a 257 reply: "257 "/a ""b"" c" is current" -> /a "b" c
std::optional<QString> pathOf257(const QByteArray &line)
{
    const qsizetype open = line.indexOf('"');
    if (open < 0)
        return std::nullopt;
    QByteArray path;
    for (qsizetype i = open + 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"') {
                path += '"';
                ++i;
                continue;
            }
            return ftpText(path);
        }
        path += line[i];
    }
    return std::nullopt;
}

// Percent-encodes every segment of an absolute path, keeping the slashes.
QByteArray encodePath(const QString &absPath)
{
    const QStringList segments = absPath.split(QLatin1Char('/'));
    QByteArrayList out;
    out.reserve(segments.size());
    for (const QString &segment : segments) {
        QByteArray enc = ftpBytes(segment).toPercentEncoding();
        // Dot segments would otherwise be taken as path steps by the URL parser.
        if (segment == QLatin1String(".") || segment == QLatin1String(".."))
            enc.replace(".", "%2E");
        out << enc;
    }
    return out.join('/');
}

// The TYPE command, sent by us right before RETR/STOR. curl's own text mode
// would also rewrite line ends for a Unix machine (LF <-> CR LF) and so
// double the CRs of our CR LF files; the server does the conversion between
// the network's CR LF and its own convention, and our files are CR LF
// already, so the bytes go through unchanged. Sent before every transfer,
// since curl's record of the server's type does not see it.
QByteArray transferType(bool ascii)
{
    return ascii ? QByteArrayLiteral("TYPE A") : QByteArrayLiteral("TYPE I");
}

// Where a listing goes. curl hands its write callback the listing with every
// CR turned into a line end (a listing travels in text mode, and curl turns
// CR LF and lone CRs alike into LF), which would split a name holding a CR
// into two lines; the bytes as received come through the debug callback,
// so those are kept and the write callback only enforces the size limit.
struct ListingSink {
    QByteArray *text = nullptr;
    qint64 max = 0;
    bool truncated = false;
};

size_t headerCallback(char *data, size_t size, size_t count, void *userdata);
size_t writeToSaveFile(char *data, size_t size, size_t count, void *userdata);
size_t countListing(char *data, size_t size, size_t count, void *userdata);
int captureListing(CURL *handle, curl_infotype type, char *data, size_t size, void *userdata);
size_t readFromFile(char *data, size_t size, size_t count, void *userdata);

// Every socket curl opens for a client is known to it, so that cancel() can
// shut them down from another thread and wake curl from any wait at once.
struct SocketRegister {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::set<curl_socket_t> sockets;

    void shutDownAll()
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (const curl_socket_t s : sockets)
            ::shutdown(s, SHUT_RDWR);
    }
};

curl_socket_t openSocket(void *userdata, curlsocktype, curl_sockaddr *address)
{
    auto *reg = static_cast<SocketRegister *>(userdata);
    std::lock_guard<std::mutex> lock(reg->mutex);
    if (reg->cancelled)
        return CURL_SOCKET_BAD;
    const curl_socket_t s =
        ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (s != CURL_SOCKET_BAD)
        reg->sockets.insert(s);
    return s;
}

int closeSocket(void *userdata, curl_socket_t s)
{
    auto *reg = static_cast<SocketRegister *>(userdata);
    {
        std::lock_guard<std::mutex> lock(reg->mutex);
        reg->sockets.erase(s);
    }
    return ::close(s);
}

int progress(void *userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<SocketRegister *>(userdata)->cancelled ? 1 : 0;
}

} // namespace

struct FtpSitzung::Impl {
    // The outcome of a public call: success, or the last reply (or the
    // client's reason) with the error number.
    Ergebnis ergebnis(bool ok) const { return ok ? Ergebnis() : Ergebnis::fehler(response, error); }
    CURL *curl = nullptr;
    Optionen options;
    QString cwd = QStringLiteral("/");
    bool mlsd = true;
    int error = 0;
    QString response;
    QList<QByteArray> lines; // server reply lines of the running operation
    char errorBuffer[CURL_ERROR_SIZE] = {};
    SocketRegister sockets;

    QByteArray baseUrl() const
    {
        return "ftp://" + QUrl::toPercentEncoding(hostFuerUrl(options.host), "[]:") + ':' +
               QByteArray::number(options.port) + '/';
    }

    // URL that names the absolute server path absPath ("/a/b"). With the
    // no-CWD method curl hands "/a/b" to the server as it stands.
    QByteArray urlFor(const QString &absPath, bool directory) const
    {
        QByteArray url = baseUrl() + encodePath(absPath);
        if (directory && !url.endsWith('/'))
            url += '/';
        return url;
    }

    QString absolute(const QString &name) const
    {
        if (name.startsWith(QLatin1Char('/')))
            return name;
        QString dir = cwd;
        if (!dir.endsWith(QLatin1Char('/')))
            dir += QLatin1Char('/');
        return dir + name;
    }

    void fail(int code, const QString &text)
    {
        error = code;
        response = cleanReply(text.toUtf8());
    }

    bool checkUsable(const QStringList &names)
    {
        if (!curl) {
            fail(NotConnectedError, QStringLiteral("Nicht verbunden"));
            return false;
        }
        for (const QString &name : names) {
            if (name.isEmpty() || hasLineBreakOrNul(name)) {
                fail(CURLE_URL_MALFORMAT, QStringLiteral("Ungültiger Name"));
                return false;
            }
        }
        return true;
    }

    static int seconds(int ms) { return std::max(1, (ms + 999) / 1000); }

    // The ceiling the running operation was given, for its failure text.
    long ceilingMs = 0;
    void setCeiling(CURL *c, int ms)
    {
        ceilingMs = std::max(1, ms);
        curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, ceilingMs);
    }

    // Options every operation shares; the handle is reset before each one so
    // nothing of a previous operation leaks into the next. Resetting keeps
    // the live connection.
    void applyCommonOptions()
    {
        curl_easy_reset(curl);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_USERNAME, options.user.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, options.password.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                         long(std::max(1, options.connectTimeoutMs)));
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT,
                         long(std::max(1, options.lowSpeedBytesPerSecond)));
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(seconds(options.stallTimeoutMs)));
        setCeiling(curl, options.commandTimeoutMs);
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                         long(seconds(options.stallTimeoutMs)));
        curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
        // curl cannot take a TLS data connection in active mode.
        curl_easy_setopt(curl, CURLOPT_FTPPORT, options.passive || options.tls ? nullptr : "-");
        if (options.tls) {
            curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
            curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
            if (!options.caFile.isEmpty())
                curl_easy_setopt(curl, CURLOPT_CAINFO,
                                 QFile::encodeName(options.caFile).constData());
        }
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &headerCallback);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &lines);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
        curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    }

    // A cancelled call returns at once: curl asks progress() while it waits,
    // and every socket it opens is registered for cancel() to shut down.
    void applyCancelOptions()
    {
        curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &openSocket);
        curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &sockets);
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &closeSocket);
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, &sockets);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &sockets);
    }

    // Runs one operation on url; configure adds the operation's own options.
    bool perform(const QByteArray &url, const std::function<void(CURL *)> &configure)
    {
        applyCommonOptions();
        applyCancelOptions();
        if (sockets.cancelled) {
            fail(CURLE_ABORTED_BY_CALLBACK, QStringLiteral("Abgebrochen"));
            return false;
        }
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        if (configure)
            configure(curl);
        lines.clear();
        errorBuffer[0] = '\0';
        const CURLcode result = curl_easy_perform(curl);
        record(result);
        return result == CURLE_OK;
    }

    // Server commands only, no data transfer.
    bool quote(const QList<QByteArray> &commands)
    {
        SList list;
        for (const QByteArray &c : commands)
            list.append(c);
        return perform(baseUrl(), [&](CURL *c) {
            curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
            curl_easy_setopt(c, CURLOPT_QUOTE, list.list);
        });
    }

    QByteArray lastReplyLine() const { return lines.isEmpty() ? QByteArray() : lines.constLast(); }

    void record(CURLcode result)
    {
        const QByteArray last = lastReplyLine();
        if (result == CURLE_OK) {
            error = 0;
            response = cleanReply(last);
            return;
        }
        if (const QString tls = tlsFehler(result); !tls.isEmpty()) {
            // The server's refusal of AUTH TLS is a reply line too, but what
            // the user must learn is that no encrypted connection was had.
            error = TlsError;
            response = tls;
            return;
        }
        const int code = replyCode(last);
        if (code >= 400 && code < 600) {
            error = ServerReplyError;
            response = cleanReply(last);
        } else {
            error = int(result);
            // In active mode curl notes a harmless failure to name the data
            // connection's address in the error buffer, and the real reason
            // of a later failure never replaces it.
            const bool stale = QByteArrayView(errorBuffer).startsWith("sa_addr inet_ntop()");
            const QByteArray reason = errorBuffer[0] && !stale
                                          ? QByteArray(errorBuffer)
                                          : QByteArray(curl_easy_strerror(result));
            response = cleanReply(reason);
            if (result == CURLE_OPERATION_TIMEDOUT)
                explainTimeout(reason);
        }
    }

    // Why TLS could not be had, in the user's language; empty for any other
    // failure.
    QString tlsFehler(CURLcode result) const
    {
        if (!options.tls)
            return QString();
        const QString grund =
            cleanReply(QByteArray(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result)));
        switch (result) {
        case CURLE_USE_SSL_FAILED:
            return QStringLiteral("Der Server bietet keine Verschlüsselung (TLS) an");
        case CURLE_PEER_FAILED_VERIFICATION:
            return QStringLiteral("Zertifikat des Servers nicht vertrauenswürdig: ") + grund;
        case CURLE_SSL_CACERT_BADFILE:
            return QStringLiteral("Zertifizierungsstelle nicht lesbar: ") + options.caFile;
        case CURLE_SSL_CONNECT_ERROR:
            return QStringLiteral("Verschlüsselte Verbindung gescheitert: ") + grund;
        default:
            return QString();
        }
    }

    // The two limits of a slow server, said in the user's language; other
    // timeouts (connecting, a reply that never comes) keep curl's reason.
    // Without a reason of its own ("Timeout was reached"), a timeout before
    // the ceiling is the low-speed limit.
    void explainTimeout(const QByteArray &reason)
    {
        curl_off_t elapsedUs = 0;
        curl_easy_getinfo(curl, CURLINFO_TOTAL_TIME_T, &elapsedUs);
        // curl's own clock may stop a little short of the ceiling it ended on.
        const bool ceiling =
            elapsedUs / 1000 >= ceilingMs || reason.startsWith("Operation timed out after");
        const bool generic = reason == curl_easy_strerror(CURLE_OPERATION_TIMEDOUT);
        if (reason.startsWith("Operation too slow") || (generic && !ceiling)) {
            response = QStringLiteral("Übertragung zu langsam: weniger als %1 Bytes/s in %2 s")
                           .arg(std::max(1, options.lowSpeedBytesPerSecond))
                           .arg(seconds(options.stallTimeoutMs));
        } else if (ceiling) {
            response = QStringLiteral("Zeitlimit überschritten: nach %1 s abgebrochen")
                           .arg(double(ceilingMs) / 1000.0);
        }
    }

    std::optional<QString> last257() const
    {
        for (auto it = lines.crbegin(); it != lines.crend(); ++it)
            if (replyCode(*it) == 257 && it->size() > 3 && it->at(3) == ' ')
                return pathOf257(*it);
        return std::nullopt;
    }

    bool put(QIODevice &file, const QString &remoteName, bool ascii);

    void closeHandle()
    {
        if (!curl)
            return;
        // Saying goodbye to a server that no longer answers must not hang.
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, 2L);
        lines.clear();
        curl_easy_cleanup(curl);
        curl = nullptr;
    }
};

namespace
{

size_t headerCallback(char *data, size_t size, size_t count, void *userdata)
{
    auto *lines = static_cast<QList<QByteArray> *>(userdata);
    QByteArray line(data, qsizetype(size * count));
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    lines->append(line);
    return size * count;
}

// A download on its way into the local file; the first failed write stays.
struct SaveSink {
    schreiber::GanzeDatei file;
    Ergebnis geschrieben;
    explicit SaveSink(const QString &pfad) : file(pfad) {}
};

size_t writeToSaveFile(char *data, size_t size, size_t count, void *userdata)
{
    auto *sink = static_cast<SaveSink *>(userdata);
    sink->geschrieben = sink->file.schreiben(data, qint64(size * count));
    return sink->geschrieben ? size * count : 0;
}

size_t countListing(char *data, size_t size, size_t count, void *userdata)
{
    (void)data;
    auto *sink = static_cast<ListingSink *>(userdata);
    if (sink->text->size() <= sink->max)
        return size * count;
    // Over the limit: keep the whole lines within it and stop reading.
    sink->text->truncate(sink->max);
    const qsizetype lastLineEnd = sink->text->lastIndexOf('\n');
    sink->text->truncate(lastLineEnd + 1);
    sink->truncated = true;
    return 0;
}

int captureListing(CURL *handle, curl_infotype type, char *data, size_t size, void *userdata)
{
    (void)handle;
    auto *sink = static_cast<ListingSink *>(userdata);
    if (type == CURLINFO_DATA_IN && !sink->truncated)
        sink->text->append(data, qsizetype(size));
    return 0;
}

size_t readFromFile(char *data, size_t size, size_t count, void *userdata)
{
    const qint64 n = static_cast<QIODevice *>(userdata)->read(data, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

} // namespace

FtpSitzung::FtpSitzung() : d(std::make_unique<Impl>())
{
    ensureCurlGlobal();
}

FtpSitzung::~FtpSitzung()
{
    d->closeHandle();
}

Ergebnis FtpSitzung::verbinde(const Optionen &options)
{
    d->closeHandle();
    d->options = options;
    d->cwd = QStringLiteral("/");
    d->mlsd = true;
    if (options.host.isEmpty() || hasLineBreakOrNul(options.host)) {
        d->fail(CURLE_URL_MALFORMAT, QStringLiteral("Ungültiger Servername"));
        return d->ergebnis(false);
    }
    d->curl = curl_easy_init();
    if (!d->curl) {
        d->fail(CURLE_FAILED_INIT, QStringLiteral("FTP-Sitzung nicht möglich"));
        return d->ergebnis(false);
    }
    // Logging in really happens here: the features tell whether the server
    // lists by MLSD, and PWD gives the start directory.
    if (!d->quote({QByteArrayLiteral("*FEAT"), QByteArrayLiteral("PWD")})) {
        const int error = d->error;
        const QString response = d->response;
        d->closeHandle();
        d->error = error;
        d->response = response;
        return d->ergebnis(false);
    }
    bool mlsd = false;
    for (const QByteArray &line : std::as_const(d->lines))
        if (line.trimmed().toUpper().startsWith("MLST"))
            mlsd = true;
    d->mlsd = mlsd;
    if (const auto pwd = d->last257(); pwd && pwd->startsWith(QLatin1Char('/')))
        d->cwd = *pwd;
    return {};
}

void FtpSitzung::schliesse()
{
    d->closeHandle();
    d->error = 0;
    d->response.clear();
}

bool FtpSitzung::verbunden() const
{
    return d->curl != nullptr;
}

Ergebnis FtpSitzung::wechsleVerzeichnis(const QString &dir)
{
    if (!d->checkUsable({dir}))
        return d->ergebnis(false);
    const QString target = d->absolute(dir);
    if (!d->quote({"CWD " + ftpBytes(target), QByteArrayLiteral("PWD")}))
        return d->ergebnis(false);
    const auto pwd = d->last257();
    if (pwd && pwd->startsWith(QLatin1Char('/')))
        d->cwd = *pwd;
    else
        d->cwd = target;
    return {};
}

QString FtpSitzung::verzeichnis() const
{
    return d->cwd;
}

Ergebnis FtpSitzung::ladeHerunter(const QString &remoteName, const QString &localPath, bool ascii)
{
    if (!d->checkUsable({remoteName}))
        return d->ergebnis(false);
    // The download goes to a temporary file that replaces the old one only
    // when the transfer is complete.
    SaveSink sink(localPath);
    const auto nichtSchreibbar = [&](const Ergebnis &e) {
        d->fail(CURLE_WRITE_ERROR, QStringLiteral("Lokale Datei nicht schreibbar: ") + localPath +
                                       QStringLiteral(" (") + e.grund() + QLatin1Char(')'));
        return d->ergebnis(false);
    };
    if (const Ergebnis e = sink.file.oeffnen(); !e)
        return nichtSchreibbar(e);
    SList type;
    type.append(transferType(ascii));
    const bool ok = d->perform(d->urlFor(d->absolute(remoteName), false), [&](CURL *c) {
        d->setCeiling(c, d->options.transferTimeoutMs);
        curl_easy_setopt(c, CURLOPT_PREQUOTE, type.list);
        // No SIZE in ASCII mode: servers refuse it there, and the text size
        // changes on the way anyway.
        if (ascii)
            curl_easy_setopt(c, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &writeToSaveFile);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    });
    if (!ok) {
        sink.file.verwerfen();
        // The transfer broke off because the local file took no more.
        return sink.geschrieben ? d->ergebnis(false) : nichtSchreibbar(sink.geschrieben);
    }
    if (const Ergebnis e = sink.file.abschliessen(); !e)
        return nichtSchreibbar(e);
    return {};
}

Ergebnis FtpSitzung::ladeHoch(const QByteArray &data, const QString &remoteName, bool ascii)
{
    if (!d->checkUsable({remoteName}))
        return d->ergebnis(false);
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return d->ergebnis(d->put(buffer, remoteName, ascii));
}

bool FtpSitzung::Impl::put(QIODevice &file, const QString &remoteName, bool ascii)
{
    SList type;
    type.append(transferType(ascii));
    return perform(urlFor(absolute(remoteName), false), [&](CURL *c) {
        setCeiling(c, options.transferTimeoutMs);
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_PREQUOTE, type.list);
        curl_easy_setopt(c, CURLOPT_READFUNCTION, &readFromFile);
        curl_easy_setopt(c, CURLOPT_READDATA, &file);
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    });
}

std::optional<FtpSitzung::Liste> FtpSitzung::liste()
{
    if (!d->checkUsable({}))
        return std::nullopt;
    const QByteArray url = d->urlFor(d->cwd, true);
    Liste listing;
    auto run = [&](const char *command) {
        ListingSink sink{&listing.text, std::max<qint64>(0, d->options.maxListingBytes), false};
        const bool ok = d->perform(url, [&](CURL *c) {
            curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, command);
            curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &countListing);
            curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
            curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
            curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &captureListing);
            curl_easy_setopt(c, CURLOPT_DEBUGDATA, &sink);
        });
        listing.truncated = sink.truncated;
        if (ok || !sink.truncated)
            return ok;
        // Cut on purpose: what came is the listing, the rest is dropped.
        d->error = 0;
        d->response = QStringLiteral("Liste nach %1 Bytes abgebrochen").arg(sink.max);
        return true;
    };
    if (d->mlsd) {
        listing.format = ListingFormat::Mlsd;
        if (run("MLSD"))
            return listing;
        // A server that announced MLST but does not know MLSD after all.
        const int code = replyCode(d->lastReplyLine());
        if (code != 500 && code != 502 && code != 504)
            return std::nullopt;
        d->mlsd = false;
    }
    listing.format = ListingFormat::List;
    listing.text.clear();
    if (run("LIST"))
        return listing;
    return std::nullopt;
}

Ergebnis FtpSitzung::loescheDatei(const QString &name)
{
    return d->ergebnis(d->checkUsable({name}) && d->quote({"DELE " + ftpBytes(d->absolute(name))}));
}

Ergebnis FtpSitzung::loescheVerzeichnis(const QString &name)
{
    return d->ergebnis(d->checkUsable({name}) && d->quote({"RMD " + ftpBytes(d->absolute(name))}));
}

Ergebnis FtpSitzung::erstelleVerzeichnis(const QString &name)
{
    return d->ergebnis(d->checkUsable({name}) && d->quote({"MKD " + ftpBytes(d->absolute(name))}));
}

Ergebnis FtpSitzung::benenneUm(const QString &from, const QString &to)
{
    return d->ergebnis(
        d->checkUsable({from, to}) &&
        d->quote({"RNFR " + ftpBytes(d->absolute(from)), "RNTO " + ftpBytes(d->absolute(to))}));
}

namespace
{

// The number after "213 " of a SIZE reply, or -1.
qint64 groesseAusSize(const QList<QByteArray> &lines)
{
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        if (replyCode(*it) != 213)
            continue;
        bool zahl = false;
        const qint64 n = it->mid(4).trimmed().toLongLong(&zahl);
        return zahl && n >= 0 ? n : -1;
    }
    return -1;
}

// The "size=" fact of an MLST reply's entry line, or -1.
qint64 groesseAusMlst(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines) {
        if (!line.startsWith(' '))
            continue;
        const QByteArray fakten = line.trimmed().split(' ').value(0);
        for (const QByteArray &fakt : fakten.split(';')) {
            if (fakt.toLower().startsWith("size=")) {
                bool zahl = false;
                const qint64 n = fakt.mid(5).toLongLong(&zahl);
                if (zahl && n >= 0)
                    return n;
            }
        }
    }
    return -1;
}

bool unbekannterBefehl(int code)
{
    return code == 500 || code == 502 || code == 504;
}

} // namespace

Ergebnis FtpSitzung::groesse(const QString &name, qint64 &bytes)
{
    bytes = -1;
    if (!d->checkUsable({name}))
        return d->ergebnis(false);
    const QByteArray pfad = ftpBytes(d->absolute(name));
    // Servers answer SIZE only in binary type; the type is set before every
    // transfer anyway.
    if (d->quote({QByteArrayLiteral("TYPE I"), "SIZE " + pfad})) {
        bytes = groesseAusSize(d->lines);
        if (bytes >= 0)
            return {};
    } else if (d->error != ServerReplyError || !unbekannterBefehl(replyCode(d->lastReplyLine()))) {
        return d->ergebnis(false);
    }
    if (d->quote({"MLST " + pfad})) {
        bytes = groesseAusMlst(d->lines);
        return {};
    }
    if (d->error == ServerReplyError && unbekannterBefehl(replyCode(d->lastReplyLine()))) {
        // Neither command: the size cannot be asked for.
        d->error = 0;
        return {};
    }
    return d->ergebnis(false);
}

void FtpSitzung::brichAb()
{
    d->sockets.cancelled = true;
    d->sockets.shutDownAll();
}

void FtpSitzung::setzeAbbruchZurueck()
{
    d->sockets.cancelled = false;
}

bool FtpSitzung::abgebrochen() const
{
    return d->sockets.cancelled;
}

int FtpSitzung::letzterFehler() const
{
    return d->error;
}

QString FtpSitzung::letzteAntwort() const
{
    return d->response;
}

} // namespace varnek
