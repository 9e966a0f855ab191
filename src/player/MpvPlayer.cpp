#include "player/MpvPlayer.h"

#include "player/LibMpv.h"
#include "tovarocx/FileNameBytes.h"

#include <algorithm>
#include <clocale>
#include <cmath>

namespace {
// The reply to a loadfile command, which names the playlist entry of the file.
constexpr quint64 kLoadReply = 1;
} // namespace

MpvPlayer::MpvPlayer(const QString &audioOutput, Video video)
    : m_audioOutput(audioOutput), m_showsVideo(video == Video::Shown)
{
}

bool MpvPlayer::ensureHandle()
{
    if (m_mpv || m_failed)
        return m_mpv != nullptr;
    // Made on first use, not at start-up: each handle costs tens of milliseconds, and most
    // runs never play on all three players.
    m_failed = true;
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    m_lib = LibMpv::get();
    if (!m_lib)
        return false;
    m_mpv = m_lib->create();
    if (!m_mpv)
        return false;
    // A player inside the console: no terminal, no configuration or scripts of the user's
    // mpv, no window of its own; pictures only for the player that shows video, rendered
    // into the program's own frames.
    const std::pair<const char *, QByteArray> options[] = {
        {"terminal", "no"},
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"input-default-bindings", "no"},
        {"vo", m_showsVideo ? "libmpv" : "null"},
        {"vid", m_showsVideo ? "auto" : "no"},
        {"idle", "yes"},
        {"keep-open", "no"},
        {"audio-display", "no"},
    };
    for (const auto &[name, value] : options)
        m_lib->set_option_string(m_mpv, name, value.constData());
    if (!m_audioOutput.isEmpty())
        m_lib->set_option_string(m_mpv, "ao", m_audioOutput.toUtf8().constData());
    if (m_lib->initialize(m_mpv) < 0) {
        m_lib->terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return false;
    }
    if (m_showsVideo && !startRendering()) {
        m_lib->terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return false;
    }
    m_failed = false;
    m_lib->observe_property(m_mpv, 0, "time-pos", MPV_FORMAT_DOUBLE);
    m_lib->observe_property(m_mpv, 0, "duration", MPV_FORMAT_DOUBLE);
    m_lib->set_wakeup_callback(
        m_mpv,
        [](void *self) {
            auto *player = static_cast<MpvPlayer *>(self);
            QMetaObject::invokeMethod(
                &player->m_events, [player] { player->drainEvents(); }, Qt::QueuedConnection);
        },
        this);
    // What was set before the handle existed.
    setVolume(m_volume);
    setPlayCount(m_playCount);
    return true;
}

// Frames through libmpv's software renderer: no OpenGL, so video also shows with no display.
bool MpvPlayer::startRendering()
{
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (m_lib->render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr;
        return false;
    }
    m_lib->render_context_set_update_callback(
        m_render,
        [](void *self) {
            auto *player = static_cast<MpvPlayer *>(self);
            QMetaObject::invokeMethod(
                &player->m_events, [player] { player->renderFrame(); }, Qt::QueuedConnection);
        },
        this);
    return true;
}

void MpvPlayer::renderFrame()
{
    if (!m_render || !(m_lib->render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME))
        return;
    if (m_videoSize.isEmpty() || m_file.isEmpty())
        return;
    QImage frame(m_videoSize, QImage::Format_RGB32);
    int size[2] = {frame.width(), frame.height()};
    size_t stride = static_cast<size_t>(frame.bytesPerLine());
    // Format_RGB32 is 0xffRRGGBB: in memory, blue first.
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("bgr0")},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, frame.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (m_lib->render_context_render(m_render, params) < 0)
        return;
    m_frame = std::move(frame);
    if (m_onFrame)
        m_onFrame();
}

void MpvPlayer::setVideoSize(QSize pixels)
{
    m_videoSize = pixels;
    if (m_render)
        renderFrame();
}

void MpvPlayer::clearFrame()
{
    if (m_frame.isNull())
        return;
    m_frame = QImage();
    if (m_onFrame)
        m_onFrame();
}

MpvPlayer::~MpvPlayer()
{
    if (!m_mpv)
        return;
    m_lib->set_wakeup_callback(m_mpv, nullptr, nullptr);
    // The renderer goes first: it belongs to the handle.
    if (m_render) {
        m_lib->render_context_set_update_callback(m_render, nullptr, nullptr);
        m_lib->render_context_free(m_render);
    }
    m_lib->terminate_destroy(m_mpv);
}

Players::Factory MpvPlayer::factory(const QString &audioOutput)
{
    return [audioOutput](int index) {
        return std::make_unique<MpvPlayer>(
            audioOutput, index == Players::kVideoPlayer ? Video::Shown : Video::None);
    };
}

double MpvPlayer::mpvVolume(int hundredthsOfDecibel)
{
    // Amplitude 10^(dB/20); mpv's gain is (volume/100)^3.
    const double amplitude = std::pow(10.0, hundredthsOfDecibel / 100.0 / 20.0);
    return 100.0 * std::cbrt(amplitude);
}

void MpvPlayer::command(std::initializer_list<const char *> args, quint64 reply)
{
    if (!m_mpv)
        return;
    std::vector<const char *> argv(args);
    argv.push_back(nullptr);
    m_lib->command_async(m_mpv, reply, argv.data());
}

void MpvPlayer::setProperty(const char *name, const QByteArray &value)
{
    if (!m_mpv)
        return;
    const char *text = value.constData();
    m_lib->set_property_async(m_mpv, 0, name, MPV_FORMAT_STRING, &text);
}

void MpvPlayer::load()
{
    m_position = 0;
    m_duration = 0;
    m_paused = false;
    m_ended = false;
    m_loading = true;
    m_heldSeek.reset();
    if (!ensureHandle()) {
        // As for a file mpv cannot play: the player is closed, silently.
        m_loading = false;
        m_file.clear();
        return;
    }
    setProperty("pause", "no");
    const QByteArray path = FileNameBytes::encode(m_file);
    ++m_loadsUnanswered;
    command({"loadfile", path.constData(), "replace"}, kLoadReply);
}

void MpvPlayer::setFileName(const QString &path)
{
    m_file = path;
    if (path.isEmpty()) {
        clearFrame();
        m_loading = false;
        m_heldSeek.reset();
        command({"stop"});
        m_position = 0;
        m_duration = 0;
        m_ended = false;
        return;
    }
    load();
}

void MpvPlayer::setPosition(double seconds)
{
    if (m_file.isEmpty())
        return;
    // Before the start is the start: mpv would count a negative position back from the end.
    seconds = std::max(0.0, seconds);
    m_position = seconds;
    if (m_loading) {
        m_heldSeek = seconds;
        return;
    }
    const QByteArray at = QByteArray::number(seconds, 'f', 3);
    command({"seek", at.constData(), "absolute"});
}

int MpvPlayer::playState() const
{
    if (m_file.isEmpty())
        return kClosed;
    if (m_ended)
        return kStopped;
    return m_paused ? kPaused : kPlaying;
}

void MpvPlayer::play()
{
    if (m_file.isEmpty())
        return;
    // A stopped or finished file starts again from its beginning.
    if (m_ended) {
        load();
        return;
    }
    m_paused = false;
    setProperty("pause", "no");
}

void MpvPlayer::pause()
{
    if (m_file.isEmpty() || m_ended)
        return;
    m_paused = true;
    setProperty("pause", "yes");
}

void MpvPlayer::stop()
{
    if (m_file.isEmpty())
        return;
    command({"stop"});
    m_ended = true;
    m_position = 0;
}

void MpvPlayer::setVolume(int hundredthsOfDecibel)
{
    m_volume = hundredthsOfDecibel;
    setProperty("volume", QByteArray::number(mpvVolume(hundredthsOfDecibel), 'f', 4));
}

void MpvPlayer::setPlayCount(int count)
{
    m_playCount = count;
    // mpv counts the repeats after the first play.
    setProperty("loop-file", count <= 0 ? QByteArray("inf") : QByteArray::number(count - 1));
}

void MpvPlayer::drainEvents()
{
    while (m_mpv) {
        const mpv_event *event = m_lib->wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        switch (event->event_id) {
        case MPV_EVENT_COMMAND_REPLY:
            if (event->reply_userdata == kLoadReply)
                loadAnswered(*event);
            break;
        case MPV_EVENT_START_FILE:
            m_startedEntry =
                static_cast<const mpv_event_start_file *>(event->data)->playlist_entry_id;
            break;
        case MPV_EVENT_FILE_LOADED:
            // Follows the start of the file it speaks of.
            if (m_loading && speaksOfWantedFile(m_startedEntry))
                fileLoaded();
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto *property = static_cast<const mpv_event_property *>(event->data);
            if (property->format != MPV_FORMAT_DOUBLE)
                break;
            // Until the wanted file has loaded, what arrives may still speak of the one before;
            // fileLoaded() reads both values afresh.
            if (m_loading || m_ended || m_file.isEmpty())
                break;
            const double value = *static_cast<double *>(property->data);
            // mpv counts the audio still buffered ahead: at the start of a file it can read below
            // 0.
            if (qstrcmp(property->name, "time-pos") == 0)
                m_position = std::max(0.0, value);
            else if (qstrcmp(property->name, "duration") == 0)
                m_duration = value;
            break;
        }
        case MPV_EVENT_END_FILE: {
            const auto *end = static_cast<const mpv_event_end_file *>(event->data);
            // The end of a file replaced since, or of one stopped on purpose: nothing to note.
            if (!speaksOfWantedFile(end->playlist_entry_id))
                break;
            if (end->reason == MPV_END_FILE_REASON_EOF) {
                m_ended = true;
            } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
                // Not playable: the player is closed, silently.
                m_loading = false;
                m_file.clear();
                m_position = 0;
                m_duration = 0;
            }
            break;
        }
        default:
            break;
        }
    }
}

void MpvPlayer::loadAnswered(const mpv_event &reply)
{
    --m_loadsUnanswered;
    // Only the answer to the last load names the file wanted now.
    if (m_loadsUnanswered > 0 || m_file.isEmpty())
        return;
    if (reply.error < 0) {
        m_loading = false;
        m_file.clear();
        return;
    }
    m_wantedEntry = -1;
    const mpv_node &result = static_cast<const mpv_event_command *>(reply.data)->result;
    if (result.format != MPV_FORMAT_NODE_MAP)
        return;
    const mpv_node_list *map = result.u.list;
    for (int i = 0; i < map->num; ++i) {
        if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 &&
            map->values[i].format == MPV_FORMAT_INT64)
            m_wantedEntry = map->values[i].u.int64;
    }
}

bool MpvPlayer::speaksOfWantedFile(qint64 entry) const
{
    return m_loadsUnanswered == 0 && m_wantedEntry >= 0 && entry == m_wantedEntry &&
           !m_file.isEmpty();
}

void MpvPlayer::fileLoaded()
{
    m_loading = false;
    // mpv tells of a property only when its value changes, and one that changed and changed
    // back while the file loaded (the same duration as the file before) is never told: read
    // both now.
    m_duration = readNow("duration");
    m_position = std::max(0.0, readNow("time-pos"));
    if (m_heldSeek) {
        const double at = *m_heldSeek;
        m_heldSeek.reset();
        setPosition(at);
    }
}

double MpvPlayer::readNow(const char *name) const
{
    double value = 0;
    if (m_lib->get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return 0;
    return value;
}
