#include "engine/platform/av/AvMovieDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/core/Log.h"
#include "engine/platform/MovieSource.h"

namespace mareldon {

namespace {

constexpr const char* kLog = "movie";
constexpr int kIoBufferSize = 32 * 1024;
// Packets of one stream held while the other is looked for. A file whose
// streams lie further apart than this loses its sound, not its pictures.
constexpr size_t kQueueLimit = 8u * 1024u * 1024u;
// Decoder calls that fail in a row before a stream counts as ended.
constexpr int kFailureLimit = 64;
// Pictures skipped after a rewind while waiting for a key picture.
constexpr int kKeyWaitLimit = 300;
// Sound that starts this much after the pictures is led in with silence.
constexpr double kLeadInLimit = 10.0;

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// The libraries' own messages go to the program's log, below warnings: a
// damaged movie would otherwise flood stderr.
void ForwardLibraryLog(void* object, int level, const char* format, va_list args) {
    if (level > AV_LOG_WARNING) {
        return;
    }
    thread_local int printPrefix = 1;
    char line[512];
    av_log_format_line2(object, level, format, args, line, sizeof line, &printPrefix);
    size_t length = std::strlen(line);
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) {
        line[--length] = '\0';
    }
    if (length > 0) {
        LOG_DEBUG("av", "%s", line);
    }
}

// A movie is one file: playlists and scripts that name other files or
// addresses are not followed.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char* url, int, AVDictionary**) {
    LOG_WARN(kLog, "a movie that refers to \"%s\" is refused", url != nullptr ? url : "");
    return AVERROR(EPERM);
}

void RouteLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(&ForwardLibraryLog); });
}

}  // namespace

std::unique_ptr<MovieDecoder> CreateAvMovieDecoder() {
    return std::make_unique<AvMovieDecoder>();
}

AvMovieDecoder::AvMovieDecoder() {
    RouteLibraryLog();
}

AvMovieDecoder::~AvMovieDecoder() {
    ClearQueue(videoPackets_);
    ClearQueue(audioPackets_);
    av_packet_free(&packet_);
    av_frame_free(&frame_);
    av_frame_free(&picture_);
    swr_free(&resampler_);
    sws_freeContext(scaler_);
    avcodec_free_context(&audio_);
    avcodec_free_context(&video_);
    avformat_close_input(&container_);  // a custom I/O context stays ours
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

int AvMovieDecoder::ReadBytes(void* opaque, uint8_t* buffer, int size) {
    auto* self = static_cast<AvMovieDecoder*>(opaque);
    const int32_t count = self->source_->Read(buffer, size);
    if (count < 0) {
        return AVERROR(EIO);
    }
    return count == 0 ? AVERROR_EOF : count;
}

int64_t AvMovieDecoder::SeekBytes(void* opaque, int64_t offset, int whence) {
    MovieSource* source = static_cast<AvMovieDecoder*>(opaque)->source_;
    const int64_t size = static_cast<int64_t>(source->Size());
    if (whence & AVSEEK_SIZE) {
        return size;
    }
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
        case SEEK_SET:
            break;
        case SEEK_CUR:
            base = static_cast<int64_t>(source->Tell());
            break;
        case SEEK_END:
            base = size;
            break;
        default:
            return AVERROR(EINVAL);
    }
    const int64_t position = base + offset;
    if (position < 0 || !source->Seek(static_cast<uint64_t>(position))) {
        return AVERROR(EINVAL);
    }
    return position;
}

bool AvMovieDecoder::Open(MovieSource* source, const char* name) {
    source_ = source;
    name_ = name != nullptr ? name : "";
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
    io_ = buffer != nullptr
              ? avio_alloc_context(buffer, kIoBufferSize, 0, this, &ReadBytes, nullptr, &SeekBytes)
              : nullptr;
    container_ = avformat_alloc_context();
    picture_ = av_frame_alloc();
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (io_ == nullptr) {
        av_free(buffer);
    }
    if (io_ == nullptr || container_ == nullptr || picture_ == nullptr || frame_ == nullptr ||
        packet_ == nullptr) {
        LOG_WARN(kLog, "movie \"%s\": out of memory", name_.c_str());
        return false;
    }
    container_->pb = io_;
    container_->flags |= AVFMT_FLAG_CUSTOM_IO;
    container_->io_open = &RefuseNestedOpen;
    // Demuxers that open files through their own contexts inherit this: no
    // protocol at all.
    container_->protocol_whitelist = av_strdup("");
    int result = avformat_open_input(&container_, name_.c_str(), nullptr, nullptr);
    if (result < 0) {
        LOG_WARN(kLog, "movie \"%s\" is no movie: %s", name_.c_str(), ErrorText(result).c_str());
        return false;  // the container is freed already
    }
    result = avformat_find_stream_info(container_, nullptr);
    if (result < 0) {
        LOG_WARN(kLog, "movie \"%s\": stream details incomplete: %s", name_.c_str(),
                 ErrorText(result).c_str());
    }
    for (unsigned i = 0; i < container_->nb_streams; ++i) {
        const AVStream* stream = container_->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO && videoStream_ < 0 &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            videoStream_ = static_cast<int>(i);
        } else if (type == AVMEDIA_TYPE_AUDIO && audioStream_ < 0) {
            audioStream_ = static_cast<int>(i);
        }
    }
    if (videoStream_ < 0) {
        LOG_WARN(kLog, "movie \"%s\" has no video stream", name_.c_str());
        return false;
    }
    AVStream* stream = container_->streams[videoStream_];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (codec == nullptr) {
        LOG_WARN(kLog, "movie \"%s\": no decoder for its video (%s)", name_.c_str(),
                 avcodec_get_name(stream->codecpar->codec_id));
        return false;
    }
    video_ = avcodec_alloc_context3(codec);
    if (video_ == nullptr || avcodec_parameters_to_context(video_, stream->codecpar) < 0) {
        LOG_WARN(kLog, "movie \"%s\": cannot set up its video decoder", name_.c_str());
        return false;
    }
    video_->thread_count = 1;  // the player's thread is the decoding thread
    result = avcodec_open2(video_, codec, nullptr);
    if (result < 0) {
        LOG_WARN(kLog, "movie \"%s\": cannot open its video decoder: %s", name_.c_str(),
                 ErrorText(result).c_str());
        return false;
    }
    format_.width = video_->width;
    format_.height = video_->height;
    if (format_.width <= 0 || format_.height <= 0) {
        LOG_WARN(kLog, "movie \"%s\" gives no picture size", name_.c_str());
        return false;
    }
    const AVRational rate = av_guess_frame_rate(container_, stream, nullptr);
    if (rate.num > 0 && rate.den > 0 && av_q2d(rate) >= 1.0 && av_q2d(rate) <= 240.0) {
        frameDuration_ = 1.0 / av_q2d(rate);
    }
    if (container_->start_time != AV_NOPTS_VALUE) {
        startTime_ = static_cast<double>(container_->start_time) / AV_TIME_BASE;
    }
    if (audioStream_ >= 0 && !OpenSound()) {
        audioStream_ = -1;
    }
    return true;
}

bool AvMovieDecoder::OpenSound() {
    AVStream* stream = container_->streams[audioStream_];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (codec == nullptr) {
        LOG_WARN(kLog, "movie \"%s\": no decoder for its sound (%s); pictures only", name_.c_str(),
                 avcodec_get_name(stream->codecpar->codec_id));
        return false;
    }
    audio_ = avcodec_alloc_context3(codec);
    if (audio_ == nullptr || avcodec_parameters_to_context(audio_, stream->codecpar) < 0) {
        return false;
    }
    audio_->thread_count = 1;
    if (avcodec_open2(audio_, codec, nullptr) < 0 || audio_->sample_rate <= 0 ||
        audio_->sample_rate > 384000 || audio_->ch_layout.nb_channels <= 0) {
        LOG_WARN(kLog, "movie \"%s\": its sound cannot be decoded; pictures only", name_.c_str());
        avcodec_free_context(&audio_);
        return false;
    }
    format_.soundRate = audio_->sample_rate;
    format_.soundChannels = audio_->ch_layout.nb_channels == 1 ? 1 : 2;
    return true;
}

double AvMovieDecoder::TimeOf(int64_t timestamp, int stream) const {
    return static_cast<double>(timestamp) * av_q2d(container_->streams[stream]->time_base) - startTime_;
}

void AvMovieDecoder::ClearQueue(PacketQueue& queue) {
    for (AVPacket* packet : queue.packets) {
        av_packet_free(&packet);
    }
    queue.packets.clear();
    queue.bytes = 0;
}

void AvMovieDecoder::DropSound(const char* why) {
    if (!soundDropped_ && why != nullptr) {
        LOG_WARN(kLog, "movie \"%s\": sound given up, %s", name_.c_str(), why);
    }
    soundDropped_ = true;
    audioEnded_ = true;
    ClearQueue(audioPackets_);
}

bool AvMovieDecoder::ReadPacket() {
    const int result = av_read_frame(container_, packet_);
    if (result < 0) {
        if (result != AVERROR_EOF && readErrors_++ == 0) {
            LOG_WARN(kLog, "movie \"%s\" ends early: %s", name_.c_str(), ErrorText(result).c_str());
        }
        return false;
    }
    PacketQueue* queue = nullptr;
    if (packet_->stream_index == videoStream_) {
        queue = &videoPackets_;
    } else if (packet_->stream_index == audioStream_ && audio_ != nullptr && !soundDropped_) {
        queue = &audioPackets_;
    }
    AVPacket* kept = queue != nullptr ? av_packet_alloc() : nullptr;
    if (kept == nullptr) {
        av_packet_unref(packet_);
        return true;
    }
    av_packet_move_ref(kept, packet_);
    queue->bytes += static_cast<size_t>(kept->size);
    queue->packets.push_back(kept);
    return true;
}

AVPacket* AvMovieDecoder::NextPacket(int stream) {
    const bool video = stream == videoStream_;
    PacketQueue& queue = video ? videoPackets_ : audioPackets_;
    while (queue.packets.empty()) {
        if (containerEnded_) {
            return nullptr;
        }
        if (!ReadPacket()) {
            containerEnded_ = true;
        }
        if (!video && videoPackets_.bytes > kQueueLimit) {
            DropSound("it lies too far from the pictures");
            return nullptr;
        }
        if (video && audioPackets_.bytes > kQueueLimit) {
            DropSound("it lies too far from the pictures");
        }
    }
    AVPacket* packet = queue.packets.front();
    queue.packets.pop_front();
    queue.bytes -= static_cast<size_t>(packet->size);
    return packet;
}

bool AvMovieDecoder::NextFrame(AVCodecContext* codec, int stream, bool& flushed, bool& ended) {
    int failures = 0;
    for (;;) {
        int result = avcodec_receive_frame(codec, frame_);
        if (result == 0) {
            return true;
        }
        if (result != AVERROR(EAGAIN)) {
            // The end, or a damaged frame: a run of these ends the stream.
            if (result == AVERROR_EOF || ++failures > kFailureLimit) {
                ended = true;
                return false;
            }
            continue;
        }
        if (flushed) {
            ended = true;
            return false;
        }
        failures = 0;
        AVPacket* packet = NextPacket(stream);
        if (ended) {
            av_packet_free(&packet);
            return false;  // the sound, given up while looking for it
        }
        if (packet == nullptr) {
            avcodec_send_packet(codec, nullptr);  // drain the frames held back
            flushed = true;
            continue;
        }
        result = avcodec_send_packet(codec, packet);
        av_packet_free(&packet);
        if (result < 0 && result != AVERROR(EAGAIN) && decodeErrors_++ == 0) {
            LOG_WARN(kLog, "movie \"%s\": damaged %s skipped (%s)", name_.c_str(),
                     stream == videoStream_ ? "pictures" : "sound", ErrorText(result).c_str());
        }
    }
}

bool AvMovieDecoder::DecodePicture(double& time, double& duration) {
    if (video_ == nullptr || videoEnded_) {
        return false;
    }
    int skipped = 0;
    while (NextFrame(video_, videoStream_, videoFlushed_, videoEnded_)) {
        const bool key = frame_->key_frame != 0 || frame_->pict_type == AV_PICTURE_TYPE_I;
        if (needKey_ && !key && skipped++ < kKeyWaitLimit) {
            av_frame_unref(frame_);
            continue;  // no picture from before the rewind shows through
        }
        needKey_ = false;
        av_frame_unref(picture_);
        av_frame_move_ref(picture_, frame_);
        const int64_t stamp = picture_->best_effort_timestamp;
        double at = stamp != AV_NOPTS_VALUE ? TimeOf(stamp, videoStream_) : lastTime_ + frameDuration_;
        if (!std::isfinite(at)) {
            at = lastTime_ + frameDuration_;
        }
        // Whole microseconds, so times compare exactly with a clock's.
        time = std::round(at * 1e6) / 1e6;
        duration =
            std::round(frameDuration_ * (1.0 + 0.5 * std::clamp(picture_->repeat_pict, 0, 4)) * 1e6) / 1e6;
        lastTime_ = at;
        return true;
    }
    return false;
}

void AvMovieDecoder::ConvertPicture(uint32_t* pixels) {
    const int width = format_.width;
    const int height = format_.height;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (picture_ == nullptr || picture_->data[0] == nullptr || picture_->width <= 0 ||
        picture_->height <= 0) {
        std::fill(pixels, pixels + count, 0xFF000000u);
        return;
    }
    // A picture whose size changed on the way is scaled to the size given at
    // opening, so the frame buffer is never overrun.
    scaler_ = sws_getCachedContext(scaler_, picture_->width, picture_->height,
                                   static_cast<AVPixelFormat>(picture_->format), width, height,
                                   AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (scaler_ == nullptr) {
        std::fill(pixels, pixels + count, 0xFF000000u);
        return;
    }
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(pixels), nullptr, nullptr, nullptr};
    int strides[4] = {width * 4, 0, 0, 0};
    sws_scale(scaler_, picture_->data, picture_->linesize, 0, picture_->height, planes, strides);
    for (size_t i = 0; i < count; ++i) {
        pixels[i] |= 0xFF000000u;  // opaque whatever the source says
    }
}

bool AvMovieDecoder::ConvertSound(AVFrame* frame) {
    const int channels = format_.soundChannels;
    if (resampler_ == nullptr || frame->format != resamplerFormat_ || frame->sample_rate != resamplerRate_ ||
        frame->ch_layout.nb_channels != resamplerChannels_) {
        swr_free(&resampler_);
        if (frame->sample_rate <= 0 || frame->ch_layout.nb_channels <= 0) {
            return false;
        }
        AVChannelLayout in;
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&in, frame->ch_layout.nb_channels);
        } else if (av_channel_layout_copy(&in, &frame->ch_layout) < 0) {
            return false;
        }
        AVChannelLayout out;
        av_channel_layout_default(&out, channels);
        const int result =
            swr_alloc_set_opts2(&resampler_, &out, AV_SAMPLE_FMT_S16, format_.soundRate, &in,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        if (result < 0 || swr_init(resampler_) < 0) {
            swr_free(&resampler_);
            DropSound("its format cannot be converted");
            return false;
        }
        resamplerFormat_ = frame->format;
        resamplerRate_ = frame->sample_rate;
        resamplerChannels_ = frame->ch_layout.nb_channels;
    }
    // Sound that starts after the movie is led in with silence, and sound
    // from before it is dropped, so the played position is the movie's time.
    int64_t lead = 0;
    if (!soundStarted_) {
        soundStarted_ = true;
        const int64_t stamp = frame->best_effort_timestamp;
        const double at = stamp != AV_NOPTS_VALUE ? TimeOf(stamp, audioStream_) : 0.0;
        if (std::isfinite(at) && at > 0.0 && at < kLeadInLimit) {
            lead = std::llround(at * format_.soundRate);
        } else if (std::isfinite(at) && at < 0.0 && at > -kLeadInLimit) {
            dropFrames_ = std::llround(-at * format_.soundRate);
        }
    }
    const int room = swr_get_out_samples(resampler_, frame->nb_samples);
    if (room < 0) {
        return false;
    }
    const size_t start = static_cast<size_t>(lead) * static_cast<size_t>(channels);
    sound_.assign(start + static_cast<size_t>(room) * static_cast<size_t>(channels), 0);
    auto* out = reinterpret_cast<uint8_t*>(sound_.data() + start);
    const int made = swr_convert(resampler_, &out, room, const_cast<const uint8_t**>(frame->extended_data),
                                 frame->nb_samples);
    if (made < 0) {
        return false;
    }
    size_t frames = static_cast<size_t>(lead) + static_cast<size_t>(made);
    const size_t dropped = static_cast<size_t>(std::min<int64_t>(dropFrames_, static_cast<int64_t>(frames)));
    if (dropped > 0) {
        sound_.erase(sound_.begin(), sound_.begin() + static_cast<ptrdiff_t>(dropped * channels));
        dropFrames_ -= static_cast<int64_t>(dropped);
        frames -= dropped;
    }
    sound_.resize(frames * static_cast<size_t>(channels));
    return frames > 0;
}

bool AvMovieDecoder::DecodeSound(const int16_t*& samples, int32_t& frames) {
    if (audio_ == nullptr || audioStream_ < 0 || audioEnded_) {
        return false;
    }
    while (NextFrame(audio_, audioStream_, audioFlushed_, audioEnded_)) {
        const bool made = ConvertSound(frame_);
        av_frame_unref(frame_);
        if (audioEnded_) {
            return false;  // its format cannot be converted
        }
        if (made) {
            samples = sound_.data();
            frames = static_cast<int32_t>(sound_.size() / static_cast<size_t>(format_.soundChannels));
            return true;
        }
    }
    return false;
}

void AvMovieDecoder::IgnoreSound() {
    ignoreSound_ = true;
    DropSound(nullptr);
}

bool AvMovieDecoder::Rewind() {
    if (container_ == nullptr || video_ == nullptr) {
        return false;
    }
    const int64_t start = container_->start_time != AV_NOPTS_VALUE ? container_->start_time : 0;
    int result = avformat_seek_file(container_, -1, INT64_MIN, start, start, 0);
    if (result < 0) {
        result = av_seek_frame(container_, -1, 0, AVSEEK_FLAG_BYTE);
    }
    if (result < 0) {
        if (rewindErrors_++ == 0) {
            LOG_WARN(kLog, "movie \"%s\" cannot go back to its start: %s", name_.c_str(),
                     ErrorText(result).c_str());
        }
        return false;
    }
    ClearQueue(videoPackets_);
    ClearQueue(audioPackets_);
    avcodec_flush_buffers(video_);
    if (audio_ != nullptr) {
        avcodec_flush_buffers(audio_);
    }
    swr_free(&resampler_);
    av_frame_unref(picture_);
    containerEnded_ = false;
    videoFlushed_ = false;
    videoEnded_ = false;
    audioFlushed_ = false;
    soundDropped_ = ignoreSound_;
    audioEnded_ = ignoreSound_;
    soundStarted_ = false;
    dropFrames_ = 0;
    needKey_ = true;
    lastTime_ = 0.0;
    return true;
}

}  // namespace mareldon
