#pragma once

#include <QString>

#include <optional>

#include "link/canframe.h"
#include "link/canprotocol.h"
#include "link/monitor/fieldtext.h"

// The "key=value" fields of each communication type, for the frame decoder. Frames reach here
// only once their type, direction and length were found decodable.
namespace FrameFields {

// A host request; ranges scale set-points (raw values without them), name is the parameter
// entry's name when the frame carries a known code.
void request(const CanFrame& frame, FieldText& text, const std::optional<CanProtocol::ModelRanges>& ranges,
             const QString& name);
// A motor's reply.
void reply(const CanFrame& frame, FieldText& text, const std::optional<CanProtocol::ModelRanges>& ranges,
           const QString& name);

}  // namespace FrameFields
