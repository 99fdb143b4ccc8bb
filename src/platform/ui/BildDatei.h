#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

namespace varnek::bild
{

// Reads the picture of a user path. Only a regular file is opened, and it is
// opened without blocking, so a FIFO or a device named as a picture never
// holds the window; a picture larger than `hoechstens` (when given) is decoded
// to fit it, keeping its proportions, and no picture may take more memory
// than kMaxMegabytes while decoding. A null image when it is no picture.
inline constexpr int kMaxMegabytes = 256;
QImage ladeDatei(const QString &pfad, const QSize &hoechstens = QSize());
// The same for a picture received as bytes.
QImage ladeDaten(const QByteArray &daten, const QSize &hoechstens = QSize());

// Decodes pictures on a thread of its own, so a large picture never holds
// the window. A request supersedes the ones before it: their results are
// dropped, and those not yet begun are never decoded. `fertig` runs on the
// loader's thread, never after the loader (a child of its window) is gone.
class Lader : public QObject
{
    Q_OBJECT
  public:
    using Fertig = std::function<void(const QImage &bild)>;
    explicit Lader(QObject *parent);
    ~Lader() override; // waits for a decoding under way

    void ladeDatei(const QString &pfad, const QSize &hoechstens, Fertig fertig);
    void ladeDaten(const QByteArray &daten, const QSize &hoechstens, Fertig fertig);
    // Drops what is on its way.
    void verwerfen() { ++neueste_; }

  private:
    void lade(std::function<QImage()> decodieren, Fertig fertig);

    QThread thread_;
    QObject *arbeiter_; // lives on thread_
    std::atomic<quint64> neueste_{0};
};

} // namespace varnek::bild
