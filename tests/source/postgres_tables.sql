-- Tables of the PostgreSQL tests, loaded once when the test server starts.
CREATE TABLE kinds(
  id integer, small smallint, wide double precision, single real, day date,
  moment timestamp, clock time, flag boolean, amount numeric(10,2), label text,
  huge bigint);
INSERT INTO kinds VALUES
  (1, -2, 123456789.5, 2.5, '2003-07-15', '2003-07-13 14:35:59', '14:35:59', true,
   12.34, 'Crème brûlée', 9000000000),
  (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
CREATE VIEW kinds_view AS SELECT id FROM kinds;
CREATE TABLE big(id integer, label varchar(20));
INSERT INTO big SELECT g, 'row ' || g FROM generate_series(1, 70000) AS g;
CREATE TABLE people(id integer, name varchar(20));
INSERT INTO people VALUES (1, 'Bea'), (2, 'Abe'), (3, 'Cy'), (4, 'Bo'), (5, 'Di'), (6, 'Al');
