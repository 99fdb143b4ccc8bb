#pragma once

#include "platform/FtpNamen.h"

#include "platform/Ergebnis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

namespace varnek
{

// One logged-in FTP control connection, reused for every operation until
// close(). Calls are synchronous. After every call lastError()/lastResponse()
// describe its outcome, in the manner of the status line: error 0 means the
// call succeeded; otherwise lastResponse() is the server's last reply line
// (or the client's reason when the server never answered), free of NUL and
// control characters. Every step returns an Ergebnis: on failure its reason
// is lastResponse() and its number lastError().
//
// Error numbers:
//   0                    success;
//   ServerReplyError     the server refused with an error reply (4xx/5xx);
//                        lastResponse() is that reply line, e.g.
//                        "530 Authentication failed.";
//   NotConnectedError    the call needs a connection and there is none;
//   TlsError             TLS was asked for and could not be had: the server
//                        offers none, its certificate does not verify, or
//                        the authority file cannot be read; lastResponse()
//                        says which, in German;
//   any other number     the libcurl error code (CURLcode: 7 cannot connect,
//                        28 timeout, too slow or over its time ceiling,
//                        23 local file not writable, 26 local file not
//                        readable, 3 unusable name, ...); lastResponse() is
//                        the reason as text.
//
// Calls run on whichever thread makes them, one at a time; only cancel()
// may come from another thread.
//
// Paths: the client keeps its own absolute current directory; every transfer,
// listing and file operation addresses the server with absolute paths built
// from it, so names with blanks, umlauts (sent as UTF-8) or '#' work. Names
// must not contain CR, LF or NUL.
//
// Names and paths are QStrings whose bytes on the wire are ftpBytes(): a
// name an old server listed in Latin-1 goes back with the bytes it had.
class FtpSitzung
{
  public:
    static constexpr int ServerReplyError = 12003;
    static constexpr int NotConnectedError = 12018;
    static constexpr int TlsError = 12157;
    // A transfer the server took but did not store whole (as libcurl's
    // "partial file").
    static constexpr int UnvollstaendigError = 18;

    struct Optionen {
        QString host;
        int port = 21;
        QString user;
        QString password;
        bool passive = false;
        // Explicit TLS (AUTH TLS) for the control and every data connection;
        // the server's certificate must verify for the host, against caFile
        // when given, else the system's authorities. A server without TLS or
        // a certificate that does not verify fails the connect (TlsError):
        // nothing is sent in clear. TLS transfers are always passive.
        bool tls = false;
        QString caFile;
        int connectTimeoutMs = 10000; // connecting and logging in
        // A transfer that moves fewer than lowSpeedBytesPerSecond for
        // stallTimeoutMs fails (a server that drips is as good as a stalled
        // one); a reply awaited that long fails too.
        int stallTimeoutMs = 30000;
        int lowSpeedBytesPerSecond = 100;
        // Ceilings of one whole operation, however fast the bytes move: an
        // upload or download, and anything else (a listing, a directory
        // change, a command).
        int transferTimeoutMs = 5 * 60 * 1000;
        int commandTimeoutMs = 60 * 1000;
        // Listings stop after this many bytes (Listing::truncated).
        qint64 maxListingBytes = 20 * 1024 * 1024;
    };

    enum class ListingFormat { Mlsd, List };
    struct Liste {
        ListingFormat format = ListingFormat::List;
        // The listing exactly as the server sent it: lines end in CR LF or
        // LF, and a lone CR is part of a name.
        QByteArray text;
        // The server sent more than maxListingBytes: text holds the whole
        // lines within that limit, the rest was not read.
        bool truncated = false;
    };

    FtpSitzung();
    ~FtpSitzung();
    FtpSitzung(const FtpSitzung &) = delete;
    FtpSitzung &operator=(const FtpSitzung &) = delete;

    // Connects and logs in. A failure leaves the client closed.
    Ergebnis verbinde(const Optionen &options);
    void schliesse();
    bool verbunden() const;

    // Changes the current directory (absolute or relative; ".." resolved by
    // the server). Fails when the server refuses it; the previous directory
    // stays current.
    Ergebnis wechsleVerzeichnis(const QString &dir);
    QString verzeichnis() const; // absolute, as the server reports it

    // Transfers in the current directory. ascii: TYPE A, else TYPE I. The
    // local side of an ASCII transfer is CR LF text, as the network's: the
    // bytes are not rewritten here (the server adapts line ends to its own
    // convention). getFile replaces an existing local file only after a
    // complete download. putData uploads bytes held in memory (the content a
    // send had when it was made) and replaces the remote file.
    Ergebnis ladeHerunter(const QString &remoteName, const QString &localPath, bool ascii);
    Ergebnis ladeHoch(const QByteArray &data, const QString &remoteName, bool ascii);

    // Listing of the current directory: MLSD where the server offers it,
    // LIST otherwise.
    std::optional<Liste> liste();

    Ergebnis loescheDatei(const QString &name);
    Ergebnis loescheVerzeichnis(const QString &name);
    Ergebnis erstelleVerzeichnis(const QString &name);
    Ergebnis benenneUm(const QString &from, const QString &to);
    // The size in bytes of a file in the current directory as the server
    // reports it: SIZE (in binary type), or MLST where SIZE is unknown.
    // `bytes` is -1 when the server knows neither command; a file the server
    // does not have is a failure.
    Ergebnis groesse(const QString &name, qint64 &bytes);

    int letzterFehler() const;
    QString letzteAntwort() const;

    // Safe to call from any thread while another thread runs a call: that
    // call ends at once with error 42 (aborted), its sockets are shut down
    // so nothing waits for a silent server, and every later call fails the
    // same way until resetCancel(). The connection is unusable afterwards;
    // close() it.
    void brichAb();
    void setzeAbbruchZurueck();
    bool abgebrochen() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace varnek
