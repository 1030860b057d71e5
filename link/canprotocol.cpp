#include "link/canprotocol.h"

#include <cmath>
#include <limits>

namespace CanProtocol {

QString comModeName(int type) {
    static const char* const names[] = {
        "CANCOM_ANNOUNCE_DEVID", "CANCOM_MOTOR_CTRL    ", "CANCOM_MOTOR_FEEDBACK", "CANCOM_MOTOR_IN      ",
        "CANCOM_MOTOR_RESET   ", "CANCOM_MOTOR_CALI    ", "CANCOM_MOTOR_ZERO    ", "CANCOM_MOTOR_ID      ",
        "CANCOM_PARA_WRITE    ", "CANCOM_PARA_READ     ", "CANCOM_PARA_UPDATE  ",  "CANCOM_OTA_START    ",
        "CANCOM_OTA_INFO     ",  "CANCOM_OTA_ING      ",  "CANCOM_OTA_END      ",  "CANCOM_CALI_ING     ",
        "CANCOM_CALI_RST     ",  "CANCOM_SDO_READ     ",  "CANCOM_SDO_WRITE    ",  "CANCOM_PARA_STR_INFO",
        "CANCOM_MOTOR_BRAKE  ",  "CANCOM_FAULT_WARN   ",  "CANCOM_MODE_TOTAL",
    };
    if (type < 0 || type > CANCOM_MODE_TOTAL)
        return QStringLiteral("<canComMode> unknown");
    return QString::fromLatin1(names[type]);
}

QString valueTypeName(int code) {
    static const char* const names[] = {"uint8", "int8",  "uint16", "int16", "uint32",
                                        "int32", "float", "uint64", "int64", "double"};
    if (code < 0 || code > 9)
        return QStringLiteral("none");
    return QString::fromLatin1(names[code]);
}

int valueTypeSize(int code) {
    static const int sizes[] = {1, 1, 2, 2, 4, 4, 4, 8, 8, 8, 16};
    if (code < 0 || code > 10)
        return 0;
    return sizes[code];
}

int encodeRange(float x, float min, float max, int bits) {
    // An empty range (no model reply yet) has no scale; 0 keeps the division defined.
    if (!(max != min) || bits <= 0 || bits > 31)
        return 0;
    const float full = float((quint32(1) << bits) - 1);
    const float scaled = full * (x - min) / (max - min);
    // Not clamped to the bit range (callers check inRange()), but kept inside int so that an
    // absurd input cannot make the conversion undefined.
    if (std::isnan(scaled))
        return 0;
    if (scaled >= float(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (scaled <= float(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(scaled);
}

float decodeRange(int raw, float min, float max) {
    return float(raw) * (max - min) / 65535.0f + min;
}

bool inRange(float x, float min, float max) {
    return x >= min && x <= max;
}

std::optional<ModelRanges> rangesForModel(quint8 byteA, quint8 byteB) {
    auto make = [](int code) {
        switch (code) {
            case 3:
                return ModelRanges{3, 20, 60, 5000, 100};
            case 0:
                return ModelRanges{0, 33, 14, 500, 5};
            case 4:
                return ModelRanges{4, 15, 120, 5000, 100};
            default:  // 1, 2, 17, 34
                return ModelRanges{code, 44, 17, 500, 5};
        }
    };
    if (byteB == 0)
        return make(3);
    switch (byteA) {
        case 0:
            return make(byteB == 1 ? 1 : 0);
        case 1:
            if (byteB == 1)
                return std::nullopt;
            return make(byteB == 2 ? 17 : 1);
        case 2:
            if (byteB == 2 || byteB == 5)
                return make(2);
            if (byteB == 3)
                return make(34);
            return std::nullopt;
        case 3:
            return make(3);
        case 4:
            return make(4);
        default:
            return std::nullopt;
    }
}

}  // namespace CanProtocol
