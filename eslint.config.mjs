// SPDX-License-Identifier: MIT
// ESLint's recommended rules on the page's modules and their tests, with the
// names each place provides: a browser's to the page, Node's to the tests.
import js from "@eslint/js";

const browser = [
  "addEventListener",
  "atob",
  "Blob",
  "DecompressionStream",
  "document",
  "FormData",
  "getSelection",
  "history",
  "location",
  "navigator",
  "performance",
  "Response",
  "setTimeout",
  "TextDecoder",
  "TextEncoder",
  "URL",
  "URLSearchParams",
  "WebAssembly",
];
const node = [
  "console",
  "performance",
  "process",
  "TextDecoder",
  "TextEncoder",
  "URL",
  "URLSearchParams",
  "WebAssembly",
];
const names = (list) => Object.fromEntries(list.map((name) => [name, "readonly"]));

export default [
  { ignores: ["build*/", "dist/"] },
  js.configs.recommended,
  { files: ["web/*.mjs"], languageOptions: { globals: names(browser) } },
  { files: ["tests/*.mjs"], languageOptions: { globals: names(node) } },
];
