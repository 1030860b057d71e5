#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Communication types of the motors' protocol (identifier bits 28-24).
enum canComMode {
    CANCOM_ANNOUNCE_DEVID = 0,
    CANCOM_MOTOR_CTRL = 1,
    CANCOM_MOTOR_FEEDBACK = 2,
    CANCOM_MOTOR_IN = 3,
    CANCOM_MOTOR_RESET = 4,
    CANCOM_MOTOR_CALI = 5,
    CANCOM_MOTOR_ZERO = 6,
    CANCOM_MOTOR_ID = 7,
    CANCOM_PARA_WRITE = 8,
    CANCOM_PARA_READ = 9,
    CANCOM_PARA_UPDATE = 10,
    CANCOM_OTA_START = 11,
    CANCOM_OTA_INFO = 12,
    CANCOM_OTA_ING = 13,
    CANCOM_OTA_END = 14,
    CANCOM_CALI_ING = 15,
    CANCOM_CALI_RST = 16,
    CANCOM_SDO_READ = 17,
    CANCOM_SDO_WRITE = 18,
    CANCOM_PARA_STR_INFO = 19,
    CANCOM_MOTOR_BRAKE = 20,
    CANCOM_FAULT_WARN = 21,
    CANCOM_MODE_TOTAL = 22,
};

namespace CanProtocol {

constexpr quint8 kHostId = 0xFD;
constexpr quint8 kAnnounceId = 0xFE;
constexpr float kPosMin = -12.5f;
constexpr float kPosMax = 12.5f;

// Value ranges selected by a motor's model reply.
struct ModelRanges {
    int modelCode = 0;
    float velMax = 0;     // velocity range is [-velMax, velMax]
    float torqueMax = 0;  // torque range is [-torqueMax, torqueMax]
    float kpMax = 0;
    float kdMax = 0;
};

// The log name of a communication type, trailing blanks included.
QString comModeName(int type);
// "uint8" ... "double"; "none" above 9.
QString valueTypeName(int code);
// Bytes a value of that type code occupies in transfers (16 for the text type 10).
int valueTypeSize(int code);

// (2^bits - 1) * (x - min) / (max - min) in single precision, truncated toward zero.
// Callers check inRange() first: a set-point outside the range is refused, never wrapped.
int encodeRange(float x, float min, float max, int bits = 16);
float decodeRange(int raw, float min, float max);
bool inRange(float x, float min, float max);

// The ranges for model bytes A and B of a model reply; nullopt where the reply sets nothing.
std::optional<ModelRanges> rangesForModel(quint8 byteA, quint8 byteB);

}  // namespace CanProtocol
