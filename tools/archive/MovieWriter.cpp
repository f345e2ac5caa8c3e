#include "tools/archive/MovieWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

#include <algorithm>

namespace mareldon {

namespace {

std::string ErrorText(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

int EvenWidth(const MovieSpec& s) {
    return (s.width + 1) & ~1;
}
int EvenHeight(const MovieSpec& s) {
    return (s.height + 1) & ~1;
}

// Everything one write holds, freed in one place.
struct Encoding {
    AVFormatContext* container = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* converter = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;

    ~Encoding() {
        av_packet_free(&packet);
        av_frame_free(&sound);
        av_frame_free(&picture);
        sws_freeContext(converter);
        avcodec_free_context(&audio);
        avcodec_free_context(&video);
        if (container != nullptr) {
            if (container->pb != nullptr) {
                uint8_t* bytes = nullptr;
                avio_close_dyn_buf(container->pb, &bytes);
                av_free(bytes);
            }
            avformat_free_context(container);
        }
    }

    bool OpenVideo(const MovieSpec& s, std::string& error) {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG1VIDEO);
        video = codec != nullptr ? avcodec_alloc_context3(codec) : nullptr;
        videoStream = avformat_new_stream(container, nullptr);
        picture = av_frame_alloc();
        if (video == nullptr || videoStream == nullptr || picture == nullptr || packet == nullptr) {
            error = "no mpeg1video encoder";
            return false;
        }
        video->width = s.width;
        video->height = s.height;
        video->time_base = AVRational{1, s.framesPerSecond};
        video->framerate = AVRational{s.framesPerSecond, 1};
        video->pix_fmt = AV_PIX_FMT_YUV420P;
        video->gop_size = 12;
        video->max_b_frames = 2;
        video->thread_count = 1;
        // A fine fixed quantiser: flat test colours come back within a few steps.
        video->flags |= AV_CODEC_FLAG_QSCALE;
        video->global_quality = FF_QP2LAMBDA * 2;
        video->bit_rate = 4000000;  // tells the muxer its rate
        const int result = avcodec_open2(video, codec, nullptr);
        if (result < 0) {
            error = ErrorText("mpeg1video encoder", result);
            return false;
        }
        avcodec_parameters_from_context(videoStream->codecpar, video);
        videoStream->time_base = video->time_base;
        // Pictures are converted at even sizes (the last row and column
        // repeated): at odd ones the converter's last chroma row goes astray.
        picture->format = AV_PIX_FMT_YUV420P;
        picture->width = EvenWidth(s);
        picture->height = EvenHeight(s);
        converter = sws_getContext(EvenWidth(s), EvenHeight(s), AV_PIX_FMT_RGB32, EvenWidth(s), EvenHeight(s),
                                   AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (converter == nullptr || av_frame_get_buffer(picture, 0) < 0) {
            error = "no picture converter";
            return false;
        }
        return true;
    }

    bool OpenSound(const MovieSpec& s, std::string& error) {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
        audio = codec != nullptr ? avcodec_alloc_context3(codec) : nullptr;
        audioStream = avformat_new_stream(container, nullptr);
        sound = av_frame_alloc();
        if (audio == nullptr || audioStream == nullptr || sound == nullptr) {
            error = "no mp2 encoder";
            return false;
        }
        audio->sample_fmt = AV_SAMPLE_FMT_S16;
        audio->sample_rate = s.soundRate;
        av_channel_layout_default(&audio->ch_layout, s.soundChannels);
        audio->bit_rate = s.soundChannels == 1 ? 96000 : 192000;
        audio->time_base = AVRational{1, s.soundRate};
        const int result = avcodec_open2(audio, codec, nullptr);
        if (result < 0) {
            error = ErrorText("mp2 encoder", result);
            return false;
        }
        avcodec_parameters_from_context(audioStream->codecpar, audio);
        audioStream->time_base = audio->time_base;
        sound->format = AV_SAMPLE_FMT_S16;
        sound->sample_rate = s.soundRate;
        sound->nb_samples = audio->frame_size;
        av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
        if (av_frame_get_buffer(sound, 0) < 0) {
            error = "no memory for sound";
            return false;
        }
        return true;
    }

    // Sends one frame (null: the end) and writes every packet that comes out.
    int Send(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
        int result = avcodec_send_frame(codec, frame);
        while (result >= 0) {
            result = avcodec_receive_packet(codec, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                return 0;
            }
            if (result < 0) {
                break;
            }
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            result = av_interleaved_write_frame(container, packet);
        }
        return result;
    }
};

}  // namespace

std::vector<uint8_t> MovieWriter::Write(const PaintPicture& paint, const MakeSound& makeSound) {
    error_.clear();
    std::vector<uint8_t> bytes;
    const MovieSpec& s = spec_;
    const bool pictures = s.width != 0 || s.height != 0;
    if (s.width < 0 || s.height < 0 || s.frameCount <= 0 || s.framesPerSecond <= 0 ||
        (pictures && (s.width == 0 || s.height == 0)) || (!pictures && s.soundRate <= 0) ||
        (s.soundRate > 0 && s.soundChannels != 1 && s.soundChannels != 2)) {
        error_ = "bad movie spec";
        return bytes;
    }
    av_log_set_level(AV_LOG_ERROR);
    Encoding e;
    int result = avformat_alloc_output_context2(&e.container, nullptr, "mpeg", nullptr);
    if (result < 0) {
        error_ = ErrorText("mpeg muxer", result);
        return bytes;
    }
    e.packet = av_packet_alloc();
    if (pictures && !e.OpenVideo(s, error_)) {
        return bytes;
    }
    if (s.soundRate > 0 && !e.OpenSound(s, error_)) {
        return bytes;
    }
    result = avio_open_dyn_buf(&e.container->pb);
    if (result >= 0) {
        result = avformat_write_header(e.container, nullptr);
    }
    if (result < 0) {
        error_ = ErrorText("mpeg header", result);
        return bytes;
    }

    std::vector<uint32_t> pixels(static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
    const struct { int32_t width, height; } even{EvenWidth(s), EvenHeight(s)};
    std::vector<uint32_t> padded(static_cast<size_t>(even.width) * static_cast<size_t>(even.height));
    const int64_t soundFrames = s.soundRate > 0 ? int64_t{s.frameCount} * s.soundRate / s.framesPerSecond : 0;
    int64_t soundDone = 0;
    auto writeSoundBlock = [&]() {
        const int32_t block = e.audio->frame_size;
        const int32_t count = static_cast<int32_t>(std::min<int64_t>(block, soundFrames - soundDone));
        av_frame_make_writable(e.sound);
        auto* samples = reinterpret_cast<int16_t*>(e.sound->data[0]);
        std::fill(samples, samples + block * s.soundChannels, int16_t{0});
        if (makeSound) {
            makeSound(soundDone, count, samples);
        }
        e.sound->pts = soundDone;
        soundDone += block;
        return e.Send(e.audio, e.audioStream, e.sound);
    };
    for (int32_t index = 0; index < s.frameCount && result >= 0; ++index) {
        // Sound up to this picture's time first, so the muxer interleaves closely.
        const int64_t soundDue = int64_t{index} * s.soundRate / s.framesPerSecond;
        while (e.audio != nullptr && soundDone < soundFrames && soundDone <= soundDue && result >= 0) {
            result = writeSoundBlock();
        }
        if (e.video == nullptr) {
            continue;
        }
        std::fill(pixels.begin(), pixels.end(), 0xFF000000u);
        if (paint) {
            paint(index, pixels.data());
        }
        for (int32_t y = 0; y < even.height; ++y) {
            const uint32_t* from = &pixels[static_cast<size_t>(std::min(y, s.height - 1)) * s.width];
            uint32_t* to = &padded[static_cast<size_t>(y) * even.width];
            std::copy(from, from + s.width, to);
            to[even.width - 1] = from[s.width - 1];
        }
        e.picture->width = even.width;
        e.picture->height = even.height;
        av_frame_make_writable(e.picture);
        const uint8_t* planes[1] = {reinterpret_cast<const uint8_t*>(padded.data())};
        const int strides[1] = {even.width * 4};
        sws_scale(e.converter, planes, strides, 0, even.height, e.picture->data, e.picture->linesize);
        e.picture->width = s.width;
        e.picture->height = s.height;
        e.picture->pts = index;
        if (result >= 0) {
            result = e.Send(e.video, e.videoStream, e.picture);
        }
    }
    while (e.audio != nullptr && soundDone < soundFrames && result >= 0) {
        result = writeSoundBlock();
    }
    if (result >= 0 && e.video != nullptr) {
        result = e.Send(e.video, e.videoStream, nullptr);
    }
    if (result >= 0 && e.audio != nullptr) {
        result = e.Send(e.audio, e.audioStream, nullptr);
    }
    if (result >= 0) {
        result = av_write_trailer(e.container);
    }
    if (result < 0) {
        error_ = ErrorText("encoding", result);
        return bytes;
    }
    uint8_t* data = nullptr;
    const int size = avio_close_dyn_buf(e.container->pb, &data);
    e.container->pb = nullptr;
    if (data != nullptr && size > 0) {
        bytes.assign(data, data + size);
    }
    av_free(data);
    return bytes;
}

}  // namespace mareldon
