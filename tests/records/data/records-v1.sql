-- A station database as the first records schema left it, written by hand: two runs of one
-- motor, the second with a text measurement and a small attachment. {id} and {blob:HEX} stand
-- for the back end's key column and binary literal.
CREATE TABLE schema_version (version INTEGER PRIMARY KEY, applied_ms BIGINT NOT NULL);
INSERT INTO schema_version (version, applied_ms) VALUES (1, 1714550400000);

CREATE TABLE runs (id {id}, uuid TEXT NOT NULL UNIQUE, format_version INTEGER NOT NULL,
  plan_name TEXT NOT NULL, plan_path TEXT NOT NULL, plan_sha256 TEXT NOT NULL, station TEXT NOT NULL,
  operator_name TEXT NOT NULL, tool_version TEXT NOT NULL, start_ms BIGINT NOT NULL, end_ms BIGINT,
  outcome TEXT NOT NULL, message TEXT NOT NULL, stored_ms BIGINT NOT NULL);
CREATE INDEX runs_start ON runs (start_ms);
CREATE TABLE motors (run_id BIGINT NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
  seq INTEGER NOT NULL, mcu_id TEXT NOT NULL, can_id INTEGER NOT NULL, model_code INTEGER NOT NULL,
  firmware TEXT NOT NULL, param_sha256 TEXT NOT NULL, outcome TEXT NOT NULL, start_ms BIGINT,
  end_ms BIGINT, PRIMARY KEY (run_id, seq));
CREATE INDEX motors_mcu ON motors (mcu_id);
CREATE TABLE steps (run_id BIGINT NOT NULL, motor INTEGER NOT NULL, seq INTEGER NOT NULL,
  step_index INTEGER NOT NULL, kind TEXT NOT NULL, title TEXT NOT NULL, outcome TEXT NOT NULL,
  message TEXT NOT NULL, start_ms BIGINT, seconds DOUBLE PRECISION NOT NULL, log TEXT NOT NULL,
  PRIMARY KEY (run_id, motor, seq));
CREATE TABLE measurements (run_id BIGINT NOT NULL, motor INTEGER NOT NULL, step INTEGER NOT NULL,
  seq INTEGER NOT NULL, name TEXT NOT NULL, unit TEXT NOT NULL, is_numeric INTEGER NOT NULL,
  value DOUBLE PRECISION, low DOUBLE PRECISION, high DOUBLE PRECISION, marginal DOUBLE PRECISION NOT NULL,
  text_value TEXT NOT NULL, expected TEXT NOT NULL, outcome TEXT NOT NULL,
  PRIMARY KEY (run_id, motor, step, seq));
CREATE TABLE attachments (run_id BIGINT NOT NULL, motor INTEGER NOT NULL, step INTEGER NOT NULL,
  seq INTEGER NOT NULL, name TEXT NOT NULL, mime_type TEXT NOT NULL, size BIGINT NOT NULL,
  data {blob} NOT NULL, PRIMARY KEY (run_id, motor, step, seq));

INSERT INTO runs (uuid, format_version, plan_name, plan_path, plan_sha256, station, operator_name,
  tool_version, start_ms, end_ms, outcome, message, stored_ms)
  VALUES ('0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a01', 1, 'joint-acceptance', 'plans/joint.yaml', '', 'bench-7',
  'zhang', '0.0.7', 1714550400000, 1714550460000, 'PASS', '', 1714550461000);
INSERT INTO motors VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a01'),
  0, '2f00a1b2c3d4', 3, 1, '1.3.9', 'aa11', 'PASS', 1714550400000, 1714550460000);
INSERT INTO steps VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a01'),
  0, 0, 1, 'detect', 'find the motor', 'PASS', '', 1714550400000, 0.4, '["found at CAN ID 3"]');
INSERT INTO measurements VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a01'),
  0, 0, 0, 'position', 'rad', 1, 0.998, 0.9, 1.1, 0.01, '', '', 'PASS');

INSERT INTO runs (uuid, format_version, plan_name, plan_path, plan_sha256, station, operator_name,
  tool_version, start_ms, end_ms, outcome, message, stored_ms)
  VALUES ('0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a02', 1, 'joint-acceptance', 'plans/joint.yaml', '', 'bench-7',
  'zhang', '0.0.7', 1714636800000, NULL, 'FAIL', '', 1714636900000);
INSERT INTO motors VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a02'),
  0, '2f00a1b2c3d4', 3, 1, '1.4.0', 'bb22', 'FAIL', NULL, NULL);
INSERT INTO steps VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a02'),
  0, 0, 1, 'firmware', 'check firmware', 'FAIL', 'too old', NULL, 0.1, '[]');
INSERT INTO measurements VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a02'),
  0, 0, 0, 'AppCodeVersion', '', 0, NULL, NULL, NULL, 0, '1.4.0', '>=1.5.0', 'FAIL');
-- "hello" as Qt compresses it: its length, then a zlib stream with one stored block.
INSERT INTO attachments VALUES ((SELECT id FROM runs WHERE uuid = '0b7e4a52-4c1d-4f0e-9a31-5d2c8e1f6a02'),
  0, 0, 0, 'note.txt', 'text/plain', 5, {blob:000000057801010500faff68656c6c6f062c0215});
