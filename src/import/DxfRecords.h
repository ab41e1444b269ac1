// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The records that the DXF reader fills and the drawing database stores, with the codes
// both of them use. The reader and the database themselves are plain functions on opaque
// handles (DxfReader.h, DxfDrawing.h).

namespace inkvale {

/// Section codes returned by DxfNextSection (0: no further section).
inline constexpr int kDxfSectionHeader = 1;
inline constexpr int kDxfSectionTables = 4;
inline constexpr int kDxfSectionBlocks = 8;
inline constexpr int kDxfSectionEntities = 16;
inline constexpr int kDxfSectionOther = 64;

/// Table codes returned by DxfNextTable and DxfReadTableEntry (0: none).
inline constexpr int kDxfTableDimStyle = 4;
inline constexpr int kDxfTableLayer = 8;
inline constexpr int kDxfTableLtype = 16;
inline constexpr int kDxfTableStyle = 32;
inline constexpr int kDxfTableOther = 512;

/// Entity kinds stored in every entity record.
inline constexpr int16_t kDxfLine = 1;
inline constexpr int16_t kDxfPoint = 2;
inline constexpr int16_t kDxfCircle = 3;
inline constexpr int16_t kDxfEllipse = 5;
inline constexpr int16_t kDxfText = 7;
inline constexpr int16_t kDxfArc = 8;
inline constexpr int16_t kDxfSolid = 11;
inline constexpr int16_t kDxfInsert = 14;
inline constexpr int16_t kDxfPolyline = 19;
inline constexpr int16_t kDxfDimension = 23;
inline constexpr int16_t kDxfLwPolyline = 24;
inline constexpr int16_t kDxfSpline = 25;
inline constexpr int16_t kDxfMText = 26;
inline constexpr int16_t kDxfTrace = 27;
inline constexpr int16_t kDxfAttrib = 28;
/// An entity the conversion does not draw, kept by name so that the load can say what it
/// left out (HATCH, IMAGE, 3DFACE ...). Only its name and header are kept.
inline constexpr int16_t kDxfSkipped = 30;

/// Longest value line kept (longer lines are cut to this many bytes).
inline constexpr size_t kDxfValueMax = 2047;
/// Longest name kept (layer, linetype, style, block names; longer names are cut).
inline constexpr size_t kDxfNameMax = 511;
/// Dash lengths an LTYPE entry keeps; further group-49 values are read and dropped.
inline constexpr size_t kDxfMaxDashes = 30;

/// Table and block capacities; entries beyond them are left out.
inline constexpr size_t kDxfLayerCapacity = 128;
inline constexpr size_t kDxfLtypeCapacity = 128;
inline constexpr size_t kDxfStyleCapacity = 128;
inline constexpr size_t kDxfDimStyleCapacity = 64;
inline constexpr size_t kDxfBlockCapacity = 256;

/// Colour values with a special meaning (group 62).
inline constexpr int16_t kDxfColorByBlock = 0;
inline constexpr int16_t kDxfColorByLayer = 256;

/// Walk and search modes of DxfFindTableEntry, DxfFindBlock and DxfWalkEntities.
enum class DxfFind { First, Next, Previous, Last, ByName, ByHandle };

struct DxfPoint3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

/// One table entry of any of the four tables; only the fields of its table are used.
/// Names as read are replaced by handles when the entry is stored (m_nLineType of a
/// LAYER, m_nStyle of a DIMSTYLE).
struct DxfTableEntry {
    int32_t m_nHandle = 0;
    std::string m_strName; ///< group 2, at most kDxfNameMax bytes
    int16_t m_nFlags = 0;  ///< group 70 (one byte for a LAYER)
    // LAYER
    int16_t m_nColor = 0;      ///< group 62; negative: the layer is off
    int32_t m_nLineType = 0;   ///< handle of the layer's linetype once stored
    std::string m_strLineType; ///< group 6 as read
    // LTYPE
    std::string m_strDescription;  ///< group 3 (LTYPE description, STYLE font file)
    int16_t m_nDashCount = 0;      ///< group 73 as written
    double m_dPatternLength = 0.0; ///< group 40
    std::array<double, kDxfMaxDashes> m_adDashes{}; ///< group 49 values in file order
    int32_t m_nDashesRead = 0;                      ///< how many of m_adDashes are set
    // STYLE
    double m_dFixedHeight = 0.0;  ///< group 40
    double m_dWidthFactor = 0.0;  ///< group 41
    double m_dLastHeight = 0.0;   ///< group 42
    double m_dObliqueAngle = 0.0; ///< group 50
    int16_t m_nGenFlags = 0;      ///< group 71
    // DIMSTYLE: the dimension variables as read
    std::string m_strDimBlock1;          ///< group 6
    std::string m_strDimBlock2;          ///< group 7
    std::string m_strTextStyle;          ///< group 340, the text style the entry refers to
    int32_t m_nStyle = 0;                ///< handle of that text style once stored
    std::array<double, 6> m_adDimReal{}; ///< groups 41, 42, 44, 46, 140, 147
    std::array<int16_t, 5> m_anDimInt{}; ///< groups 70 (also m_nFlags), 77, 176, 177, 178
};

/// A block header: the block's entities live in its own entity buffer of the drawing.
struct DxfBlock {
    int32_t m_nHandle = 0;
    std::string m_strName;  ///< group 2 or 3
    int16_t m_nFlags = 0;   ///< group 70
    int32_t m_nLayer = 0;   ///< handle of its layer once stored (0: none or unknown)
    std::string m_strLayer; ///< group 8 as read
    DxfPoint3 m_base;       ///< base point (10/20/30): the block's origin for its INSERTs
};

/// The part every entity record shares.
struct DxfEntityHeader {
    int16_t m_nKind = 0;
    int32_t m_nHandle = 0;
    int32_t m_nLayer = 0;                ///< layer handle; 0 when the layer is missing or unknown
    int32_t m_nLineType = 0;             ///< linetype handle; 0 likewise
    int16_t m_nColor = kDxfColorByLayer; ///< group 62; 256 by layer, 0 by block
    double m_dThickness = 0.0;           ///< group 39
    double m_dLtScale = 1.0;             ///< group 48
    bool m_bPaperSpace = false;          ///< group 67 = 1: the entity lies in paper space
    std::string m_strLayer;              ///< group 8 as read (kept in the stored record too)
    std::string m_strLineType;           ///< group 6 as read
};

/// One POLYLINE vertex.
struct DxfVertex {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double bulge = 0.0; ///< group 42
};

/// The kind-specific data of an entity. One flat record serves every kind; a kind reads
/// only the groups that belong to it:
///   LINE      m_aPt[0] start (10/20/30), m_aPt[1] end (11/21/31)
///   POINT     m_aPt[0]
///   CIRCLE    m_aPt[0] centre, m_dRadius (40)
///   ARC       m_aPt[0] centre, m_dRadius (40), m_dAngle (50), m_dEndAngle (51), degrees
///   SOLID     m_aPt[0..3] (10.., 11.., 12.., 13..)
///   TEXT      m_aPt[0] insertion, m_dRadius height (40), m_dAngle rotation in degrees
///             (50), m_dWidthFactor (41), m_nHAlign (72), m_nVAlign (73), m_aPt[1]
///             alignment point (11..), m_nStyle (from the style name of group 7 in
///             m_strName), m_strText (group 1)
///   ATTRIB    as TEXT, with m_nVAlign from group 74 and m_nFlags (70; bit 1 invisible)
///   INSERT    m_aPt[0] insertion, m_scale (41/42/43), m_dAngle (50), m_nBlock (from the
///             block name of group 2 in m_strName); MINSERT also m_nColumns (70), m_nRows
///             (71), m_dColumnSpacing (44), m_dRowSpacing (45)
///   POLYLINE  m_arrVertices (stored last vertex first), m_nFlags (70; bit 1 closed); the
///             vertices of meshes and polyface meshes are not kept (they are 3D)
///   LWPOLYLINE m_arrVertices in file order with their bulges (42), m_nFlags (70)
///   ELLIPSE   m_aPt[0] centre, m_aPt[1] end of the major axis relative to the centre,
///             m_dRadius ratio of the axes (40), m_dAngle start and m_dEndAngle end
///             parameter (41/42, radians)
///   SPLINE    m_nFlags (70), m_nDegree (71), m_arrReals knots (40), m_arrVertices control
///             points with their weights (41) in bulge, m_arrFit fit points (11..)
///   MTEXT     m_aPt[0] insertion, m_aPt[1] direction of the text (11..), m_dRadius height,
///             m_dAngle rotation (50), m_nHAlign attachment point (71), m_dWidthFactor line
///             spacing factor (44), m_strText groups 3 then 1
///   SOLID, TRACE m_aPt[0..3]
/// m_extrusion (210/220/230) is the normal of the entity's coordinate system.
struct DxfEntityData {
    std::array<DxfPoint3, 4> m_aPt{};
    double m_dRadius = 0.0;
    double m_dAngle = 0.0;
    double m_dEndAngle = 0.0;
    double m_dWidthFactor = 0.0;
    DxfPoint3 m_scale{1.0, 1.0, 0.0};
    DxfPoint3 m_extrusion{0.0, 0.0, 1.0};
    double m_dColumnSpacing = 0.0;
    double m_dRowSpacing = 0.0;
    int16_t m_nColumns = 1;
    int16_t m_nRows = 1;
    int16_t m_nDegree = 3;
    bool m_bHasPoint1 = false; ///< a group 11/21 was read
    uint8_t m_nHAlign = 0;
    uint8_t m_nVAlign = 0;
    int16_t m_nFlags = 0;
    int32_t m_nStyle = 0;
    int32_t m_nBlock = 0;
    std::string m_strText;
    std::string m_strName;
    std::vector<DxfVertex> m_arrVertices;
    std::vector<double> m_arrReals;
    std::vector<DxfVertex> m_arrFit;
};

/// POLYLINE flag bit: the outline is closed.
inline constexpr int16_t kDxfPolylineClosed = 1;
/// POLYLINE flag bits of the 3D meshes, which are not drawn.
inline constexpr int16_t kDxfPolylineMesh = 16 | 64;

/// One stored entity.
struct DxfEntity {
    DxfEntityHeader m_header;
    DxfEntityData m_data;
};

} // namespace inkvale
