// The few Oracle Call Interface (OCI) calls, handles and constants the Oracle engine uses,
// declared from Oracle's public "Oracle Call Interface Programmer's Guide" (the section named on
// each constant). The client library is loaded at run time, so nothing here is linked; the calls
// are reached through the pointers of OciFunctions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quarnel::db::oci {

// Scalar types of the guide's function signatures ("Data Types", "OCI Data Types" table).
using sword = int;
using ub1 = std::uint8_t;
using sb1 = std::int8_t;
using ub2 = std::uint16_t;
using sb2 = std::int16_t;
using ub4 = std::uint32_t;
using sb4 = std::int32_t;
using OraText = unsigned char;

// Opaque handles and descriptors ("Handles" and "Descriptors" in "OCI Programming Basics").
struct Env;
struct Error;
struct SvcCtx;
struct Stmt;
struct Define;
struct Param;
struct Snapshot;

// Return codes ("Error Handling in OCI", table "OCI Return Codes").
inline constexpr sword kSuccess = 0;          // OCI_SUCCESS
inline constexpr sword kSuccessWithInfo = 1;  // OCI_SUCCESS_WITH_INFO
inline constexpr sword kNoData = 100;         // OCI_NO_DATA
inline constexpr sword kError = -1;           // OCI_ERROR
inline constexpr sword kInvalidHandle = -2;   // OCI_INVALID_HANDLE
inline constexpr sword kContinue = -24200;    // OCI_CONTINUE ("Callbacks", return values)

// Modes ("OCIEnvNlsCreate()", "OCIStmtExecute()", "OCIDefineByPos()": parameter mode).
inline constexpr ub4 kDefault = 0;       // OCI_DEFAULT
inline constexpr ub4 kObject = 2;        // OCI_OBJECT ("OCIEnvNlsCreate()", mode): object types
inline constexpr ub4 kDynamicFetch = 2;  // OCI_DYNAMIC_FETCH ("OCIDefineByPos()", mode)

// Handle and descriptor types ("OCIHandleAlloc()" and "OCIDescriptorAlloc()", parameter type).
inline constexpr ub4 kHtypeEnv = 1;     // OCI_HTYPE_ENV
inline constexpr ub4 kHtypeError = 2;   // OCI_HTYPE_ERROR
inline constexpr ub4 kHtypeSvcCtx = 3;  // OCI_HTYPE_SVCCTX
inline constexpr ub4 kHtypeStmt = 4;    // OCI_HTYPE_STMT
inline constexpr ub4 kDtypeParam = 53;  // OCI_DTYPE_PARAM ("OCIParamGet()")

// Statement preparation and fetching ("OCIStmtPrepare()", language; "OCIStmtFetch2()",
// orientation).
inline constexpr ub4 kNtvSyntax = 1;  // OCI_NTV_SYNTAX
inline constexpr ub2 kFetchNext = 2;  // OCI_FETCH_NEXT

// Attributes ("Handle and Descriptor Attributes": "Statement Handle Attributes" and "Parameter
// Descriptor Attributes", select-list "Column Attributes").
inline constexpr ub4 kAttrDataSize = 1;       // OCI_ATTR_DATA_SIZE, ub2
inline constexpr ub4 kAttrDataType = 2;       // OCI_ATTR_DATA_TYPE, ub2
inline constexpr ub4 kAttrName = 4;           // OCI_ATTR_NAME, OraText*
inline constexpr ub4 kAttrPrecision = 5;      // OCI_ATTR_PRECISION, sb2 (implicit describe)
inline constexpr ub4 kAttrScale = 6;          // OCI_ATTR_SCALE, sb1
inline constexpr ub4 kAttrIsNull = 7;         // OCI_ATTR_IS_NULL, ub1
inline constexpr ub4 kAttrTypeName = 8;       // OCI_ATTR_TYPE_NAME, OraText*
inline constexpr ub4 kAttrSchemaName = 9;     // OCI_ATTR_SCHEMA_NAME, OraText*
inline constexpr ub4 kAttrParamCount = 18;    // OCI_ATTR_PARAM_COUNT, ub4
inline constexpr ub4 kAttrCharsetForm = 32;   // OCI_ATTR_CHARSET_FORM, ub1
inline constexpr ub4 kAttrRowsFetched = 197;  // OCI_ATTR_ROWS_FETCHED, ub4
inline constexpr ub4 kAttrCharUsed = 285;     // OCI_ATTR_CHAR_USED, ub1
inline constexpr ub4 kAttrCharSize = 286;     // OCI_ATTR_CHAR_SIZE, ub2

// Character-set forms ("Character-Set Form": SQLCS_IMPLICIT, SQLCS_NCHAR).
inline constexpr ub1 kCharsetFormImplicit = 1;
inline constexpr ub1 kCharsetFormNchar = 2;

// The AL32UTF8 character set id passed as charset and ncharset to OCIEnvNlsCreate()
// ("OCIEnvNlsCreate()", parameters charset and ncharset; "Globalization Support in OCI").
inline constexpr ub2 kAl32Utf8 = 873;

// External data types used for defines ("Data Types", table "External Data Types and Codes").
inline constexpr ub2 kSqltChr = 1;       // SQLT_CHR, VARCHAR2: text with a length
inline constexpr ub2 kSqltFlt = 4;       // SQLT_FLT, FLOAT: a C double of 8 bytes
inline constexpr ub2 kSqltVnu = 6;       // SQLT_VNU, VARNUM: a length byte and an Oracle NUMBER
inline constexpr ub4 kVarnumBytes = 22;  // the largest VARNUM ("VARNUM" in "External Data Types")

// Pieces of a dynamic define callback ("Runtime Data Allocation and Piecewise Operations").
inline constexpr ub1 kOnePiece = 0;    // OCI_ONE_PIECE
inline constexpr ub1 kFirstPiece = 1;  // OCI_FIRST_PIECE
inline constexpr ub1 kNextPiece = 2;   // OCI_NEXT_PIECE

// Column-level return code of a value that did not fit its buffer (ORA-01406).
inline constexpr ub2 kTruncated = 1406;

// The callback of a dynamic define ("OCIDefineDynamic()", parameter ocbfp).
using DefineCallback = sb4 (*)(void* context, Define* define, ub4 iteration, void** buffer,
                               ub4** length, ub1* piece, void** indicator, ub2** returnCode);

// The calls, with the signatures of their sections in "OCI Relational Functions".
using EnvNlsCreateFn = sword (*)(Env** env, ub4 mode, void* context,
                                 void* (*allocate)(void*, size_t),
                                 void* (*reallocate)(void*, void*, size_t),
                                 void (*release)(void*, void*), size_t extra, void** userMemory,
                                 ub2 charset, ub2 ncharset);
using HandleAllocFn = sword (*)(const void* parent, void** handle, ub4 type, size_t extra,
                                void** userMemory);
using HandleFreeFn = sword (*)(void* handle, ub4 type);
using DescriptorFreeFn = sword (*)(void* descriptor, ub4 type);
using ErrorGetFn = sword (*)(void* handle, ub4 record, OraText* sqlState, sb4* code,
                             OraText* buffer, ub4 size, ub4 type);
using Logon2Fn = sword (*)(Env* env, Error* error, SvcCtx** service, const OraText* user,
                           ub4 userLength, const OraText* password, ub4 passwordLength,
                           const OraText* database, ub4 databaseLength, ub4 mode);
using LogoffFn = sword (*)(SvcCtx* service, Error* error);
using StmtPrepareFn = sword (*)(Stmt* statement, Error* error, const OraText* text, ub4 length,
                                ub4 language, ub4 mode);
using StmtExecuteFn = sword (*)(SvcCtx* service, Stmt* statement, Error* error, ub4 iterations,
                                ub4 rowOffset, const Snapshot* in, Snapshot* out, ub4 mode);
using StmtFetch2Fn = sword (*)(Stmt* statement, Error* error, ub4 rows, ub2 orientation, sb4 offset,
                               ub4 mode);
using ParamGetFn = sword (*)(const void* handle, ub4 type, Error* error, void** param,
                             ub4 position);
using AttrGetFn = sword (*)(const void* handle, ub4 type, void* attribute, ub4* size,
                            ub4 attributeType, Error* error);
using DefineByPosFn = sword (*)(Stmt* statement, Define** define, Error* error, ub4 position,
                                void* value, sb4 size, ub2 type, void* indicator, ub2* length,
                                ub2* returnCode, ub4 mode);
using DefineDynamicFn = sword (*)(Define* define, Error* error, void* context,
                                  DefineCallback callback);
using TransCommitFn = sword (*)(SvcCtx* service, Error* error, ub4 flags);

// The entry points resolved from the loaded library, each under its documented name.
struct Functions {
    EnvNlsCreateFn envNlsCreate = nullptr;      // OCIEnvNlsCreate
    HandleAllocFn handleAlloc = nullptr;        // OCIHandleAlloc
    HandleFreeFn handleFree = nullptr;          // OCIHandleFree
    DescriptorFreeFn descriptorFree = nullptr;  // OCIDescriptorFree
    ErrorGetFn errorGet = nullptr;              // OCIErrorGet
    Logon2Fn logon2 = nullptr;                  // OCILogon2
    LogoffFn logoff = nullptr;                  // OCILogoff
    StmtPrepareFn stmtPrepare = nullptr;        // OCIStmtPrepare
    StmtExecuteFn stmtExecute = nullptr;        // OCIStmtExecute
    StmtFetch2Fn stmtFetch2 = nullptr;          // OCIStmtFetch2
    ParamGetFn paramGet = nullptr;              // OCIParamGet
    AttrGetFn attrGet = nullptr;                // OCIAttrGet
    DefineByPosFn defineByPos = nullptr;        // OCIDefineByPos
    DefineDynamicFn defineDynamic = nullptr;    // OCIDefineDynamic
    TransCommitFn transCommit = nullptr;        // OCITransCommit
};

}  // namespace quarnel::db::oci
