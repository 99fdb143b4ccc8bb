#include "contact/SpeechComponent.h"

// Placeholder until the speech engine is wired in.
namespace varnek {

struct SpeechComponent::Impl {
    QString folder;
    QString last;
};

SpeechComponent::SpeechComponent(const QString &programFolder, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    d->folder = programFolder;
}

SpeechComponent::~SpeechComponent() = default;

void SpeechComponent::setTranscriptFile(const QString &) {}
void SpeechComponent::setMuted(bool) {}
void SpeechComponent::press(const QString &) {}

QString SpeechComponent::speakable(const QString &text)
{
    return text;
}

QString SpeechComponent::lastText() const
{
    return d->last;
}

} // namespace varnek
