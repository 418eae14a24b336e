// The test PostgreSQL server that scripts/test-postgres.sh starts on 127.0.0.1.
#pragma once

// The role the tests connect as, like a clerk's: it creates tables in a schema of its own
// and has no right to create anything in the database or its public schema, nor
// temporary tables.
inline constexpr const char* kTestPostgresRole = "morvel_clerk";
