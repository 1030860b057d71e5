#include "link/firmware/firmwareupdate.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "framework/data/inputfile.h"
#include "framework/log/qflog.h"
#include "link/canprotocol.h"
#include "link/frames/firmwareframes.h"
#include "link/linkstates.h"
#include "link/otathread.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

bool addressedTo(const CanFrame& frame, int type) {
    return frame.type() == type && frame.destination() == CanProtocol::kHostId;
}

}  // namespace

FirmwareUpdate::FirmwareUpdate(QObject* parent) : QObject(parent) {}

FirmwareUpdate* FirmwareUpdate::of(otaThread* link) {
    return link ? findLinkFeature<FirmwareUpdate>(link->features()) : nullptr;
}

QString FirmwareUpdate::sizeProblem(qint64 size) {
    if (size <= 0)
        return tr("File contains no data!");
    if (size > qint64(FirmwareFrames::kMaxImage))
        return tr("File size over 512KB!");
    return QString();
}

bool FirmwareUpdate::readImage(const QString& path, QByteArray* image, QString* message) {
    // A FIFO or a device would block the read or never end; only a file is an image.
    QString why;
    if (!kx::InputFile::check(path, &why)) {
        *message = tr("Cannot read the file %1: %2").arg(QFileInfo(path).fileName(), why);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = tr("Cannot read the file %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    *message = sizeProblem(file.size());
    if (!message->isEmpty())
        return false;
    const QByteArray bytes = file.read(FirmwareFrames::kMaxImage + 1);
    if (file.error() != QFile::NoError) {
        *message = tr("Cannot read the file %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    // A file that changed between the size check and the read is judged by what was read.
    *message = sizeProblem(bytes.size());
    if (!message->isEmpty())
        return false;
    *image = bytes;
    return true;
}

void FirmwareUpdate::setImage(const QByteArray& image) {
    std::lock_guard<std::mutex> lock(m_imageMutex);
    m_image = image;
}

QByteArray FirmwareUpdate::image() const {
    std::lock_guard<std::mutex> lock(m_imageMutex);
    return m_image;
}

int FirmwareUpdate::percent() const {
    const quint32 count = m_count.load();
    return count ? int(quint64(m_index.load()) * 100 / count) : 0;
}

QVector<int> FirmwareUpdate::frameTypes() const {
    return {CANCOM_OTA_START, CANCOM_OTA_INFO, CANCOM_OTA_ING, CANCOM_OTA_END};
}

QVector<StepRule> FirmwareUpdate::steps() const {
    auto* self = const_cast<FirmwareUpdate*>(this);
    const auto noAnswer = [](otaThread&, bool, const CanFrame&, const QByteArray&) { return false; };
    const StepRule::TimeoutChoice failOnTimeout = [self](otaThread&, int status) {
        self->fail(status);
        return status;
    };
    // A request polled every 100 ms until answered; a time-out fails the update.
    const auto request = [&](int step, const char* logName, int timeout, int timeoutStatus) {
        return StepRule::waiting(step, QString::fromLatin1(logName))
            .poll(100)
            .timeout(timeout)
            .onTimeout(timeoutStatus, STEP_STOP)
            .onTimeout(failOnTimeout);
    };
    QVector<StepRule> rules;

    // The motor erases its flash before it answers.
    rules << request(STEP_IN_OTA, "STEP_IN_OTA,", 8000, OTA_STA_IN_OTA_MODE_OVER_TIME)
                 .onAnswer(OTA_STA_IN_OTA_MODE_SUCCESS, STEP_SEND_INFO)
                 .start([self](otaThread& link) {
                     self->beginTransfer();
                     // An image no motor can take is refused before the motor erases its flash.
                     if (self->refuseImage(link))
                         return;
                     // Read here, on the thread that starts the update, not on the link thread that
                     // chains to the file information.
                     self->m_updateDt = qMax(0, kx::d(QStringLiteral("config.update_dt"))->getInt(1));
                     const quint64 mcu = link.deviceEntry(link.selectedDevice()).mcuId;
                     link.sendFrame(FirmwareFrames::enter(link.target(), mcu));
                 })
                 .answeredBy([](otaThread& link, bool valid, const CanFrame& frame, const QByteArray&) {
                     return valid && addressedTo(frame, CANCOM_OTA_START) &&
                            frame.dataField() == link.target();
                 });

    // The answer is taken on the receive path (decodeFrame), which goes on with the packets at
    // once instead of at the next poll.
    rules << request(STEP_SEND_INFO, "STEP_SEND_INFO,", 2000, OTA_STA_OTA_INFO_OVER_TIME)
                 .onAnswer(StepRule::kNoStatus, STEP_SEND_INFO)
                 .start([self](otaThread& link) {
                     if (self->refuseImage(link))
                         return;
                     const quint32 size = quint32(self->image().size());
                     self->m_count = FirmwareFrames::packetCount(size);
                     self->m_index = 0;
                     self->m_infoSent = true;
                     link.sendFrame(FirmwareFrames::info(link.target(), size, self->m_count.load()));
                 })
                 .answeredBy(noAnswer);

    rules << StepRule::idle(STEP_SEND_BIN, QStringLiteral("STEP_SEND_BIN,"))
                 .start([self](otaThread& link) { self->sendPacket(link); })
                 .answeredBy(noAnswer);

    // Waits for the motor's verdict on the image; without one the update has failed.
    rules << request(STEP_SEND_END, "STEP_SEND_END,", kEndAnswerTimeoutMs, OTA_STA_FAILED)
                 .start([self](otaThread& link) {
                     link.sendFrame(FirmwareFrames::end(link.target(), self->m_count.load()));
                 })
                 .answeredBy([](otaThread& link, bool valid, const CanFrame& frame, const QByteArray&) {
                     return valid && addressedTo(frame, CANCOM_OTA_END) &&
                            FirmwareFrames::answer(frame, link.target()).kind !=
                                FirmwareFrames::Answer::Other;
                 })
                 // The verdict was announced on the receive path; the link goes idle.
                 .onAnswer([](otaThread&) { return int(STEP_STOP); })
                 .onTimeout([self](otaThread&, int status) {
                     kx::logW() << "firmware: no answer to the end frame";
                     self->fail(status);
                     return status;
                 });
    return rules;
}

void FirmwareUpdate::beginTransfer() {
    ++m_transfer;
    m_outcome = Outcome::Running;
    m_finalStatus = -1;
    m_count = 0;
    m_index = 0;
    m_acked = 0;
    m_resends = 0;
    m_infoSent = false;
    m_lastPercent = -1;
}

void FirmwareUpdate::fail(int status) {
    ++m_transfer;
    m_finalStatus = status;
    m_outcome = Outcome::Failed;
}

bool FirmwareUpdate::refuseImage(otaThread& link) {
    const qint64 size = image().size();
    int status = -1;
    if (size == 0)
        status = OTA_STA_BINFILE_EMPTY;
    else if (size > qint64(FirmwareFrames::kMaxImage))
        status = OTA_STA_BINFILE_SIZE_OVER_LIMIT;
    if (status < 0)
        return false;
    fail(status);
    link.startStep(STEP_STOP);
    link.announce(status);
    return true;
}

void FirmwareUpdate::sendPacket(otaThread& link) {
    const quint32 index = m_index.load();
    CanFrame frame;
    {
        std::lock_guard<std::mutex> lock(m_imageMutex);
        frame = FirmwareFrames::packet(link.target(), index, m_image);
    }
    link.sendFrame(frame);
}

void FirmwareUpdate::scheduleNextPacket(otaThread& link) {
    const quint64 transfer = m_transfer.load();
    otaThread* l = &link;
    // The motor needs its pause between an acknowledgement and the next packet.
    QTimer::singleShot(m_updateDt.load(), Qt::PreciseTimer, this, [this, l, transfer] {
        if (m_transfer.load() == transfer && l->step() == STEP_SEND_BIN)
            l->startStep(STEP_SEND_BIN);
    });
}

void FirmwareUpdate::setProgress(int percent) {
    if (m_lastPercent.exchange(percent) == percent)
        return;
    kx::d().rootDobj()->set(this, QStringLiteral("temp_device.update_progress"), percent, true);
}

int FirmwareUpdate::decodeFrame(otaThread& link, const CanFrame& frame) {
    if (frame.destination() != CanProtocol::kHostId)
        return -1;
    const FirmwareFrames::Answer answer = FirmwareFrames::answer(frame, link.target());
    const int step = link.step();
    switch (frame.type()) {
        case CANCOM_OTA_INFO:
            if (step != STEP_SEND_INFO || answer.kind == FirmwareFrames::Answer::Other)
                return -1;
            if (answer.kind == FirmwareFrames::Answer::Retry) {
                // The motor refused size or count: nothing would make it accept the packets.
                fail(OTA_STA_OTA_INFO_OVER_TIME);
                link.startStep(STEP_STOP);
                return OTA_STA_OTA_INFO_OVER_TIME;
            }
            m_lastPercent = -1;
            setProgress(0);
            link.startStep(STEP_SEND_BIN);
            return OTA_STA_OTA_INFO_SUCCESS;
        case CANCOM_OTA_ING: {
            if (step != STEP_SEND_BIN)
                return -1;
            int status = -1;
            if (answer.kind == FirmwareFrames::Answer::Accepted) {
                ++m_index;
                ++m_acked;
                status = OTA_STA_SEND_BIN_OK;
            } else if (answer.kind == FirmwareFrames::Answer::Retry) {
                // The packet number is 16 bits on the bus; it names the packet to go on with.
                if (answer.packet < m_count.load())
                    m_index = answer.packet;
                ++m_resends;
                status = OTA_STA_SEND_BIN_RETRY;
            }
            // Any other answer leaves the index alone: the same packet goes again.
            if (m_index.load() < m_count.load()) {
                if (status >= 0)
                    setProgress(percent());
                scheduleNextPacket(link);
                return status;
            }
            setProgress(100);
            link.startStep(STEP_SEND_END);
            return OTA_STA_SEND_BIN_DONE;
        }
        case CANCOM_OTA_END:
            if (step != STEP_SEND_END || answer.kind == FirmwareFrames::Answer::Other)
                return -1;
            if (answer.kind == FirmwareFrames::Answer::Accepted) {
                m_finalStatus = OTA_STA_SUCCESS;
                m_outcome = Outcome::Succeeded;
                return OTA_STA_SUCCESS;
            }
            m_index = answer.packet;
            fail(OTA_STA_FAILED);
            return OTA_STA_FAILED;
        default:
            return -1;
    }
}

void FirmwareUpdate::linkClosed(otaThread& link) {
    (void)link;
    ++m_transfer;
    Outcome running = Outcome::Running;
    m_outcome.compare_exchange_strong(running, Outcome::Aborted);
}
