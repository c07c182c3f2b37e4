// SPDX-License-Identifier: MIT
// Runs a WASI preview 1 module, the last argument, under Node.js with the
// process's standard streams, and exits with the module's status.
import { WASI } from "node:wasi";
import { readFileSync } from "node:fs";
const wasi = new WASI({ version: "preview1" });
const { instance } = await WebAssembly.instantiate(readFileSync(process.argv.at(-1)), wasi.getImportObject());
process.exitCode = wasi.start(instance);
