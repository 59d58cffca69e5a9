#pragma once

#include <libpq-fe.h>

#include <string>

namespace velmora::pq {

// The client library's calls that the PostgreSQL connection makes. The
// library, with the twenty-odd libraries it pulls in (TLS, Kerberos, LDAP),
// is loaded when the first PostgreSQL connection is opened, so a program on
// SQLite starts without it.
#define VELMORA_LIBPQ_CALLS(X)                                                                            \
    X(PQconnectdbParams) X(PQfinish) X(PQreset) X(PQstatus) X(PQerrorMessage) X(PQsetNoticeProcessor)    \
    X(PQtransactionStatus) X(PQexec) X(PQexecParams) X(PQprepare) X(PQexecPrepared) X(PQresultStatus)   \
    X(PQresultErrorMessage) X(PQresultErrorField) X(PQclear) X(PQntuples) X(PQnfields) X(PQfname)       \
    X(PQftype) X(PQgetvalue) X(PQgetlength) X(PQgetisnull) X(PQpipelineStatus) X(PQenterPipelineMode)   \
    X(PQexitPipelineMode) X(PQpipelineSync) X(PQsendQueryPrepared) X(PQgetResult)

struct Calls {
#define VELMORA_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
    VELMORA_LIBPQ_CALLS(VELMORA_LIBPQ_MEMBER)
#undef VELMORA_LIBPQ_MEMBER
};

// The calls, loading the library on first use; null when it cannot be
// loaded, with the reason in `problem`.
const Calls* Load(std::string& problem);

}  // namespace velmora::pq
