#include "devices.h"
#include "audio_capture.h"
#include "dv_camera.h"
#include "v4l2_camera.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

const char kSyntheticCameraVariable[] = "QUORVEL_SYNTHETIC_CAMERA";

namespace {

// The friendly name the system looks for by default: the platform's DV driver.
const char kDvDriverName[] = "Microsoft DV Camera and VCR";

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string ReadLine(const std::string& path)
{
    std::string text;
    if (FILE* f = fopen(path.c_str(), "r")) {
        char buf[256];
        if (fgets(buf, sizeof buf, f))
            text = buf;
        fclose(f);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// Units on the FireWire bus that speak AV/C (specifier 0x00a02d, version 0x010001): camcorders.
std::vector<std::string> FireWireCamcorders()
{
    std::vector<std::string> guids;
    const std::string base = "/sys/bus/firewire/devices/";
    DIR* dir = opendir(base.c_str());
    if (!dir)
        return guids;
    std::vector<std::string> units;
    while (dirent* e = readdir(dir))
        if (strchr(e->d_name, '.') && strncmp(e->d_name, "fw", 2) == 0)
            units.push_back(e->d_name);
    closedir(dir);
    std::sort(units.begin(), units.end());
    for (const std::string& u : units) {
        if (strtol(ReadLine(base + u + "/specifier_id").c_str(), nullptr, 0) != 0x00a02d ||
            strtol(ReadLine(base + u + "/version").c_str(), nullptr, 0) != 0x010001)
            continue;
        std::string node = u.substr(0, u.find('.'));
        std::string guid = ReadLine(base + node + "/guid");
        if (!guid.empty())
            guids.push_back(guid);
    }
    return guids;
}

// V4L2 devices that capture pictures, as (device, card name) pairs, by device number.
std::vector<std::pair<std::string, std::string>> V4l2Cameras()
{
    std::vector<std::pair<std::string, std::string>> found;
    for (int i = 0; i < 64; ++i) {
        char path[32];
        snprintf(path, sizeof path, "/dev/video%d", i);
        int fd = open(path, O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            continue;
        v4l2_capability cap = {};
        if (ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0) {
            unsigned caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
            if (caps & V4L2_CAP_VIDEO_CAPTURE)
                found.emplace_back(path, std::string(reinterpret_cast<const char*>(cap.card)));
        }
        close(fd);
    }
    return found;
}

std::string Trim(const std::string& s)
{
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// ALSA devices with a capture stream, as ("plughw:card,device", name) pairs. The kernel's
// list has lines "CC-DD: id : name : playback 1 : capture 1".
std::vector<std::pair<std::string, std::string>> AlsaInputs()
{
    std::vector<std::pair<std::string, std::string>> found;
    FILE* f = fopen("/proc/asound/pcm", "r");
    if (!f)
        return found;
    char line[512];
    while (fgets(line, sizeof line, f)) {
        int card = -1, dev = -1;
        if (sscanf(line, "%d-%d:", &card, &dev) != 2 || !strstr(line, "capture"))
            continue;
        std::vector<std::string> fields;
        std::string text(line);
        for (size_t pos = 0; pos != std::string::npos;) {
            size_t next = text.find(':', pos);
            fields.push_back(Trim(text.substr(pos, next == std::string::npos ? next : next - pos)));
            pos = next == std::string::npos ? next : next + 1;
        }
        std::string name = fields.size() > 2 ? fields[2] : "Sound input";
        char device[48];
        snprintf(device, sizeof device, "plughw:%d,%d", card, dev);
        found.emplace_back(device, name);
    }
    fclose(f);
    return found;
}

std::string Environment(const char* name)
{
    char buf[256];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

} // namespace

bool ParseSyntheticCamera(const std::string& value, bool* pal, long* loseAfter)
{
    std::string v = Lower(value);
    std::string mode = v.substr(0, v.find(','));
    *loseAfter = 0;
    if (mode == "pal")
        *pal = true;
    else if (mode == "1" || mode == "ntsc" || mode == "on" || mode == "yes")
        *pal = false;
    else
        return false;
    size_t lose = v.find(",lose=");
    if (lose != std::string::npos)
        *loseAfter = std::max(0L, strtol(v.c_str() + lose + 6, nullptr, 10));
    return true;
}

std::vector<CaptureDevice> ListCaptureDevices(bool video)
{
    std::vector<CaptureDevice> devices;
    bool pal = false;
    long loseAfter = 0;
    const bool synthetic = ParseSyntheticCamera(Environment(kSyntheticCameraVariable), &pal, &loseAfter);
    if (video) {
        if (synthetic) {
            CaptureDevice d{CaptureDevice::SyntheticDv, std::string(kDvDriverName) + " (synthetic)", "synthetic"};
            d.pal = pal;
            d.loseAfter = loseAfter;
            devices.push_back(d);
        }
        for (const std::string& guid : FireWireCamcorders())
                devices.push_back({CaptureDevice::FireWireDv, kDvDriverName, guid});
        for (const auto& d : V4l2Cameras())
            devices.push_back({CaptureDevice::V4l2, d.second, d.first});
    } else {
        if (synthetic)
            devices.push_back({CaptureDevice::SyntheticAudio, "Synthetic Tone Input", "synthetic"});
        // The hardware devices, through ALSA's format conversion.
        for (const auto& d : AlsaInputs())
            devices.push_back({CaptureDevice::Alsa, d.second, d.first});
    }
    return devices;
}

HRESULT CreateCaptureFilter(const CaptureDevice& device, IBaseFilter** ppFilter)
{
    switch (device.kind) {
    case CaptureDevice::SyntheticDv: return CreateSyntheticDvCamera(device.pal, device.loseAfter, ppFilter);
    case CaptureDevice::FireWireDv: return CreateFireWireDvCamera(device.path, ppFilter);
    case CaptureDevice::V4l2: return CreateV4l2Camera(device.path, ppFilter);
    case CaptureDevice::SyntheticAudio: return CreateSyntheticAudioSource(ppFilter);
    case CaptureDevice::Alsa: return CreateAlsaAudioSource(device.path, ppFilter);
    }
    return E_UNEXPECTED;
}
