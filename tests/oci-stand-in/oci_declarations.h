// The stand-in's own reading of the Oracle Call Interface: the types, handle kinds, codes and
// attributes a client library exports, under the names Oracle's "Oracle Call Interface
// Programmer's Guide" and its oci.h give them. Kept apart from the engine's declarations on
// purpose, so that a wrong number on either side shows as a failing test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace standin {

using sword = int;
using ub1 = std::uint8_t;
using sb1 = std::int8_t;
using ub2 = std::uint16_t;
using sb2 = std::int16_t;
using ub4 = std::uint32_t;
using sb4 = std::int32_t;
using OraText = unsigned char;

// Return codes.
constexpr sword OCI_SUCCESS = 0;
constexpr sword OCI_SUCCESS_WITH_INFO = 1;
constexpr sword OCI_NO_DATA = 100;
constexpr sword OCI_ERROR = -1;
constexpr sword OCI_INVALID_HANDLE = -2;
constexpr sword OCI_CONTINUE = -24200;

// Modes.
constexpr ub4 OCI_DEFAULT = 0x00;
constexpr ub4 OCI_OBJECT = 0x02;
constexpr ub4 OCI_DYNAMIC_FETCH = 0x02;

// Handle and descriptor types.
constexpr ub4 OCI_HTYPE_ENV = 1;
constexpr ub4 OCI_HTYPE_ERROR = 2;
constexpr ub4 OCI_HTYPE_SVCCTX = 3;
constexpr ub4 OCI_HTYPE_STMT = 4;
constexpr ub4 OCI_DTYPE_PARAM = 53;

constexpr ub4 OCI_NTV_SYNTAX = 1;
constexpr ub2 OCI_FETCH_NEXT = 0x02;

// Attributes.
constexpr ub4 OCI_ATTR_DATA_SIZE = 1;
constexpr ub4 OCI_ATTR_DATA_TYPE = 2;
constexpr ub4 OCI_ATTR_NAME = 4;
constexpr ub4 OCI_ATTR_PRECISION = 5;
constexpr ub4 OCI_ATTR_SCALE = 6;
constexpr ub4 OCI_ATTR_IS_NULL = 7;
constexpr ub4 OCI_ATTR_TYPE_NAME = 8;
constexpr ub4 OCI_ATTR_SCHEMA_NAME = 9;
constexpr ub4 OCI_ATTR_PARAM_COUNT = 18;
constexpr ub4 OCI_ATTR_CHARSET_FORM = 32;
constexpr ub4 OCI_ATTR_ROWS_FETCHED = 197;
constexpr ub4 OCI_ATTR_CHAR_USED = 285;
constexpr ub4 OCI_ATTR_CHAR_SIZE = 286;

constexpr ub1 SQLCS_IMPLICIT = 1;
constexpr ub1 SQLCS_NCHAR = 2;
constexpr ub2 AL32UTF8 = 873;

// External types a define may ask for.
constexpr ub2 SQLT_CHR = 1;
constexpr ub2 SQLT_FLT = 4;
constexpr ub2 SQLT_VNU = 6;

// Internal types, as the dictionary (and, for most, the describe) reports them.
constexpr int TYPE_VARCHAR2 = 1;
constexpr int TYPE_NUMBER = 2;
constexpr int TYPE_LONG = 8;
constexpr int TYPE_ROWID = 11;
constexpr int TYPE_CHAR = 96;
constexpr int TYPE_RDD = 104;  // SQLT_RDD: how a describe reports ROWID and UROWID alike
constexpr int TYPE_CLOB = 112;
constexpr int TYPE_TIMESTAMP = 180;
constexpr int TYPE_TIMESTAMP_TZ = 181;
constexpr int TYPE_INTERVAL_YM = 182;
constexpr int TYPE_INTERVAL_DS = 183;
constexpr int TYPE_UROWID = 208;
constexpr int TYPE_TIMESTAMP_LTZ = 231;
// ... and the describe's own codes for the datetime and interval types.
constexpr int SQLT_TIMESTAMP = 187;
constexpr int SQLT_TIMESTAMP_TZ = 188;
constexpr int SQLT_INTERVAL_YM = 189;
constexpr int SQLT_INTERVAL_DS = 190;
constexpr int SQLT_TIMESTAMP_LTZ = 232;
constexpr int SQLT_NTY = 108;

// Pieces of a dynamic define.
constexpr ub1 OCI_ONE_PIECE = 0;
constexpr ub1 OCI_FIRST_PIECE = 1;
constexpr ub1 OCI_NEXT_PIECE = 2;

struct OCIDefine;
using OCICallbackDefine = sb4 (*)(void* context, OCIDefine* define, ub4 iteration, void** buffer,
                                  ub4** length, ub1* piece, void** indicator, ub2** returnCode);

}  // namespace standin
