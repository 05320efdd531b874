#include "settings/window_placement.h"

#include "settings/byte_layout.h"

namespace luma {
namespace {

void WritePoint(ByteLayoutWriter& out, const WinPoint& point)
{
    out.I32(point.x);
    out.I32(point.y);
}

WinPoint ReadPoint(ByteLayoutReader& in)
{
    WinPoint point;
    point.x = in.I32();
    point.y = in.I32();
    return point;
}

}  // namespace

SettingsBytes WindowPlacementToBytes(const WindowPlacement& placement)
{
    ByteLayoutWriter out(WindowPlacement::kSize);
    out.U32(placement.length);
    out.U32(placement.flags);
    out.U32(placement.showCmd);
    WritePoint(out, placement.minPosition);
    WritePoint(out, placement.maxPosition);
    out.I32(placement.normalPosition.left);
    out.I32(placement.normalPosition.top);
    out.I32(placement.normalPosition.right);
    out.I32(placement.normalPosition.bottom);
    return out.Take();
}

std::optional<WindowPlacement> WindowPlacementFromBytes(const SettingsBytes& bytes)
{
    if (bytes.size() != WindowPlacement::kSize) {
        return std::nullopt;
    }
    ByteLayoutReader in(bytes);
    WindowPlacement placement;
    placement.length = in.U32();
    placement.flags = in.U32();
    placement.showCmd = in.U32();
    placement.minPosition = ReadPoint(in);
    placement.maxPosition = ReadPoint(in);
    placement.normalPosition.left = in.I32();
    placement.normalPosition.top = in.I32();
    placement.normalPosition.right = in.I32();
    placement.normalPosition.bottom = in.I32();
    return placement;
}

}  // namespace luma
