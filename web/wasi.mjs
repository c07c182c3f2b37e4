// SPDX-License-Identifier: MIT
// @ts-check
// The program's module run once on what has been typed, through the six WASI
// calls it makes: standard input is the bytes typed, standard output and
// error are collected, and no file is open. The page runs it so at every
// line, and the tests in Node run it so too, the same module the page runs.

const WASI_EBADF = 8;
const WASI_ESPIPE = 70;
const CHARACTER_DEVICE = 2;

/** Thrown where the program reads past what has been typed, while input goes on. */
const starved = new Error("the program waits for input not yet typed");

class Exit {
  /** @param {number} code */
  constructor(code) {
    this.code = code;
  }
}

/**
 * The WASI calls, for one run on input.
 * @param {{ memory?: WebAssembly.Memory, read: number, output: string, decoder: TextDecoder }} run
 * @param {Uint8Array} input
 * @param {boolean} ended whether the input has ended, so that a read past it finds its end
 */
function system(run, input, ended) {
  const memory = () => /** @type {WebAssembly.Memory} */ (run.memory).buffer;
  const view = () => new DataView(memory());
  /** @param {number} vector @param {number} count */
  const buffers = (vector, count) =>
    Array.from(
      { length: count },
      (_, i) =>
        new Uint8Array(memory(), view().getUint32(vector + 8 * i, true), view().getUint32(vector + 8 * i + 4, true)),
    );
  return {
    wasi_snapshot_preview1: {
      /** @param {number} fd @param {number} vector @param {number} count @param {number} done */
      fd_read(fd, vector, count, done) {
        if (fd !== 0) return WASI_EBADF;
        let total = 0;
        for (const buffer of buffers(vector, count)) {
          const chunk = input.subarray(run.read, run.read + buffer.length);
          buffer.set(chunk);
          run.read += chunk.length;
          total += chunk.length;
        }
        if (total === 0 && !ended) throw starved;
        view().setUint32(done, total, true);
        return 0;
      },
      /** @param {number} fd @param {number} vector @param {number} count @param {number} done */
      fd_write(fd, vector, count, done) {
        if (fd !== 1 && fd !== 2) return WASI_EBADF;
        let total = 0;
        for (const buffer of buffers(vector, count)) {
          run.output += run.decoder.decode(buffer, { stream: true });
          total += buffer.length;
        }
        view().setUint32(done, total, true);
        return 0;
      },
      /** @param {number} fd @param {number} stat */
      fd_fdstat_get(fd, stat) {
        if (fd > 2) return WASI_EBADF;
        new Uint8Array(memory(), stat, 24).fill(0);
        view().setUint8(stat, CHARACTER_DEVICE);
        return 0;
      },
      fd_seek: () => WASI_ESPIPE,
      fd_close: () => 0,
      /** @param {number} code */
      proc_exit(code) {
        throw new Exit(code);
      },
    },
  };
}

/**
 * Runs the program from its start on the input.
 * @param {WebAssembly.Module} compiled
 * @param {Uint8Array} input
 * @param {boolean} ended whether the input has ended
 * @returns {{ output: string, status: number | null | Error }} what it wrote, and its exit status, null while it
 *   waits for input, or the error that stopped it
 */
export function runProgram(compiled, input, ended) {
  /** @type {{ memory?: WebAssembly.Memory, read: number, output: string, decoder: TextDecoder }} */
  const run = { read: 0, output: "", decoder: new TextDecoder() };
  /** @type {number | null | Error} */
  let status = 0;
  try {
    const instance = new WebAssembly.Instance(compiled, system(run, input, ended));
    run.memory = /** @type {WebAssembly.Memory} */ (instance.exports.memory);
    /** @type {() => void} */ (instance.exports._start)();
  } catch (error) {
    status = error === starved ? null : error instanceof Exit ? error.code : /** @type {Error} */ (error);
  }
  return { output: run.output, status };
}
